#pragma once
// Numbers of the user scale page: the limits of a typed value and the integer
// a seven-segment display shows for a value. Pure functions, single precision.

#include <optional>

#include "calibrator/RegisterMap.h"

namespace vadero {

// A typed full scale or zero, limited to what the calibrator shows.
float LimitUserValue(float value);

// 10 to the power decimals, multiplied up in single precision (1 for 0 or less).
float PowerOfTen(int decimals);

// value x 10^decimals rounded to the nearest integer, halves to even. A product
// beyond the integer range is clamped to it (the display then shows that it
// does not fit); not a number gives nothing.
std::optional<int> DisplayNumber(float value, int decimals);

}  // namespace vadero
