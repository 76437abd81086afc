#pragma once
// Conversions between the calibrator's raw counts (28000 = 100 % of the
// range's full scale) and the values a user reads and types, and the user
// display format codes. Pure functions, single precision.

#include <cstdint>
#include <string>

namespace vadero {

enum class TValueUnit : std::uint8_t { uPhysical = 0, uPercent = 1, uUser = 2 };

// Range codes of register 1.
enum TRangeCode : int {
    rgGenerate020mA = 0,
    rgGenerate420mA = 1,
    rgGenerate010V = 2,
    rgMeasureCurrent = 3,
    rgMeasureVoltage = 4,
    rgMeasureResistance = 5,
};

struct UserScale {
    float zero = 0;
    float fullScale = 0;
};

constexpr float kRawFullScale = 28000;
constexpr std::uint16_t kRawMax = 30800;  // 110 %

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
