#include "calibrator/Conversions.h"

#include <cmath>
#include <stdexcept>

namespace vadero {

namespace {

bool IsCurrent(int range) {
    return range == rgGenerate020mA || range == rgGenerate420mA;
}

float UserFraction(int range, float value, const UserScale& scale) {
    float f = scale.fullScale != scale.zero ? (value - scale.zero) / (scale.fullScale - scale.zero)
                                            : 9999999.0f;
    if (range == rgGenerate420mA)
        f = f / 1.25f + 0.2f;
    return f;
}

float Fraction(TValueUnit unit, int range, float value, const UserScale& scale) {
    switch (unit) {
        case TValueUnit::uPhysical:
            if (IsCurrent(range))
                return value / 20.0f;
            if (range == rgGenerate010V)
                return value / 10.0f;
            return 0.0f;
        case TValueUnit::uPercent:
            if (range == rgGenerate420mA)
                return (value + 25.0f) / 125.0f;
            return value / 100.0f;
        case TValueUnit::uUser:
            return UserFraction(range, value, scale);
    }
    return 0.0f;
}

}  // namespace

std::uint16_t ValueToRaw(TValueUnit unit, int rangeCode, float value, const UserScale& scale) {
    const auto u = static_cast<int>(unit);
    if (u < 0 || u > 2)
        return 0;
    float f = Fraction(unit, rangeCode, value, scale);
    if (std::isnan(f) || f > 1.1f)
        f = 1.1f;
    if (f < 0.0f)
        f = 0.0f;
    const float raw = std::nearbyint(f * kRawFullScale);
    return raw > kRawMax ? kRawMax : static_cast<std::uint16_t>(raw);
}

float RawToValue(TValueUnit unit, int rangeCode, std::int16_t raw, const UserScale& scale) {
    const float x = static_cast<float>(raw) / kRawFullScale;
    switch (unit) {
        case TValueUnit::uPhysical:
            if (IsCurrent(rangeCode))
                return x * 20.0f;
            if (rangeCode == rgGenerate010V)
                return x * 10.0f;
            return 0.0f;
        case TValueUnit::uPercent:
            if (rangeCode == rgGenerate420mA)
                return x * 125.0f - 25.0f;
            return x * 100.0f;
        case TValueUnit::uUser: {
            const float xu = rangeCode == rgGenerate420mA ? (x - 0.2f) * 1.25f : x;
            return scale.zero + (scale.fullScale - scale.zero) * xu;
        }
    }
    return 0.0f;
}

std::uint8_t MeasureToValue(int rangeCode, std::int16_t raw, float& value) {
    struct Limits {
        float factor, upper, lower;
    };
    Limits limits{};
    switch (rangeCode) {
        case rgGenerate020mA:
        case rgGenerate420mA:
        case rgMeasureCurrent:
            limits = {20, 22, 0};
            break;
        case rgGenerate010V:
            limits = {10, 11, 0};
            break;
        case rgMeasureVoltage:
            limits = {30, 30, -0.05f};
            break;
        case rgMeasureResistance:
            limits = {20, 20, -0.01f};
            break;
        default:
            value = 0;
            return 2;
    }
    const float v = static_cast<float>(raw) / kRawFullScale * limits.factor;
    if (v > limits.upper) {
        value = limits.upper;
        return 1;
    }
    if (v >= 0) {
        value = v;
        return 0;
    }
    // Below zero: noise around zero reads 0; below the lower limit is out of range.
    if (v < limits.lower) {
        value = limits.lower;
        return 2;
    }
    value = 0;
    return 0;
}

int DecimalsOfFormat(std::uint16_t code) {
    for (int field = 0; field < 6; ++field)
        if (((code >> (2 * field)) & 3) == 1)
            return field;
    return 0;
}

std::string FormatOfCode(std::uint16_t code) {
    static constexpr char kChars[] = {' ', '.', '0', '#'};
    std::string pattern;
    for (int field = 5; field >= 0; --field) pattern += kChars[(code >> (2 * field)) & 3];
    return pattern;
}

std::uint16_t CodeOfFormat(int nbDigit, int pointDecimal) {
    std::uint32_t code = 0;
    std::uint32_t filler = 3;
    const auto append = [&code](int width, std::uint32_t fields) {
        code = (code << width) + fields;
        if (code > 0xFFFF)
            throw std::overflow_error("user format does not fit 16 bits");
    };
    for (int k = nbDigit - 1; k >= 0; --k) {
        if (k == 0)
            filler = 2;
        if (k == pointDecimal) {
            append(4, 9);  // "0" then "."
            filler = 2;
        } else {
            append(2, filler);
        }
    }
    return static_cast<std::uint16_t>(code);
}

std::string DecimalsFormat(std::int16_t decimals) {
    switch (decimals) {
        case 0:
            return "#0.000";
        case 1:
            return "#0.00";
        case 2:
            return "#0.0";
        default:
            return "#0";
    }
}

}  // namespace vadero
