#pragma once
// Numbers of the user scale page: the picture its edits show a value in and
// the integer a seven-segment display shows for it. Pure functions, single precision.

#include <cstdint>
#include <optional>
#include <string>

#include "calibrator/RegisterMap.h"

namespace vadero {

// 10 to the power decimals, multiplied up in single precision (1 for 0 or less).
float PowerOfTen(int decimals);

// The picture of the user format `code`, given as many more decimals as the
// value needs to show whole: the page never shows a value other than the one
// it holds, whatever the format.
std::string WholePicture(float value, std::uint16_t code);

// value x 10^decimals rounded to the nearest integer, halves to even. A product
// beyond the integer range is clamped to it (the display then shows that it
// does not fit); not a number gives nothing.
std::optional<int> DisplayNumber(float value, int decimals);

}  // namespace vadero
