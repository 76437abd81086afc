#include "app/pages/UserScaleValues.h"

#include <climits>
#include <cmath>

namespace vadero {

float LimitUserValue(float value) {
    if (value < kUserValueMin)
        return kUserValueMin;
    if (value > kUserValueMax)
        return kUserValueMax;
    return value;
}

float PowerOfTen(int decimals) {
    float m = 1.0F;
    for (int i = 0; i < decimals; ++i) m *= 10.0F;
    return m;
}

std::optional<int> DisplayNumber(float value, int decimals) {
    const float scaled = value * PowerOfTen(decimals);
    if (std::isnan(scaled))
        return std::nullopt;
    const double rounded = std::nearbyint(static_cast<double>(scaled));
    if (rounded >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (rounded <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(rounded);
}

}  // namespace vadero
