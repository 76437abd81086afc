#pragma once
// The readings of a scripted check (lcx3 check --readings FILE): a CSV with
// one row per point in the order the points are taken, "READING" or
// "POINT,READING"; an empty reading ("3,") stands for the nominal one
// (Enter at the terminal). A first row that is no number is a header; blank rows and rows
// starting with '#' are left out.

#include <optional>
#include <string>
#include <vector>

namespace vadero::check {

using Readings = std::vector<std::optional<double>>;

// Throws InputError naming the row that is wrong.
Readings ParseReadings(const std::string& text, const std::string& name);

}  // namespace vadero::check
