#include "app/pages/RampProfile.h"

#include <cmath>
#include <limits>

namespace vadero {

namespace {

// x already known to be a number of at least 0.
std::uint16_t RoundedAtMost(float x, std::uint16_t limit) {
    const float rounded = std::nearbyint(x);
    if (!(rounded < static_cast<float>(limit)))
        return limit;
    return static_cast<std::uint16_t>(rounded);
}

}  // namespace

std::array<TDrawPoint, kRampPointCount> RampCurve(std::uint16_t delay, const RampTimes& times,
                                                  float level1, float level2) {
    std::array<TDrawPoint, kRampPointCount> points{};
    points[0] = {0.0F, level1};
    points[1] = {static_cast<float>(delay), level1};
    const std::array<float, 4> levels{level2, level2, level1, level1};
    for (std::size_t k = 0; k < times.size(); ++k) {
        points[k + 2] = {points[k + 1].X + static_cast<float>(times[k]), levels[k]};
    }
    return points;
}

std::optional<RampDrag> DragRamp(int seg, float prevX, float nextX, float x) {
    if (seg < 1 || seg > 4)
        return std::nullopt;
    // Written so that a NaN anywhere is refused too.
    if (!(x >= prevX && x <= nextX))
        return std::nullopt;
    RampDrag drag;
    const int k = (seg - 1) % 4;
    drag.level = (k == 1 || k == 2) ? 2 : 1;
    const std::uint16_t beforeLimit =
        seg == 1 ? std::numeric_limits<std::uint16_t>::max() : kRampLimit;
    drag.before = RoundedAtMost(x - prevX, beforeLimit);
    drag.after = RoundedAtMost(nextX - x, kRampLimit);
    return drag;
}

}  // namespace vadero
