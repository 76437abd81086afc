#pragma once
// The texts of the range codes, apart from the rest of the parameter table
// (Parameters.cpp holds them), for whoever needs only these.

#include <string>

namespace vadero {

std::string RangeLabel(int code);  // the calibrator's own text; empty for an unknown code
std::string RangeName(int code);   // "4-20 mA", "current measure"; "unknown" otherwise

}  // namespace vadero
