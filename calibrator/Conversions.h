#pragma once
// Conversions between the calibrator's raw counts (28000 = 100 % of the
// range's full scale) and the values a user reads and types, and the user
// display format codes. Pure functions, single precision.

#include <cstdint>
#include <string>

#include "calibrator/RegisterMap.h"

namespace vadero {

enum class TValueUnit : std::uint8_t { uPhysical = 0, uPercent = 1, uUser = 2 };

struct UserScale {
    float zero = 0;
    float fullScale = 0;
};

std::uint16_t ValueToRaw(TValueUnit unit, int rangeCode, float value, const UserScale& scale);
float RawToValue(TValueUnit unit, int rangeCode, std::int16_t raw, const UserScale& scale);

// 0 in range, 1 above (value = upper limit), 2 below (value = lower limit).
std::uint8_t MeasureToValue(int rangeCode, std::int16_t raw, float& value);

int DecimalsOfFormat(std::uint16_t code);
std::string FormatOfCode(std::uint16_t code);
// Throws std::overflow_error when the pattern does not fit 16 bits.
std::uint16_t CodeOfFormat(int nbDigit, int pointDecimal);
std::string DecimalsFormat(std::int16_t decimals);

}  // namespace vadero
