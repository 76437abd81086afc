#include "widgets/WinDrawGeometry.h"

#include <cmath>

namespace vadero {

CurveGeometry ComputeGeometry(int width, int height, int scrollX, int scrollY, int zoom) {
    CurveGeometry g;
    g.OriginX = width / 12 - scrollX;
    g.OriginY = (4 * height) / 5 - scrollY;
    g.ScaleX = ((zoom + 10) * width) / 12;
    g.ScaleY = (3 * height) / 5;
    return g;
}

int RoundPixel(long double v) {
    if (std::isnan(v)) {
        return 0;
    }
    const long double r = std::nearbyint(v);
    if (r > kPixelLimit) {
        return kPixelLimit;
    }
    if (r < -kPixelLimit) {
        return -kPixelLimit;
    }
    return static_cast<int>(r);
}

int WorldToPixelOffset(float v, float min, float max, int scale) {
    const long double span = static_cast<long double>(max) - min;
    if (span == 0) {
        return 0;
    }
    return RoundPixel((static_cast<long double>(v) - min) * scale / span);
}

float PixelOffsetToWorld(long double offset, float min, float max, int scale) {
    if (scale == 0) {
        return min;
    }
    const long double span = static_cast<long double>(max) - min;
    return static_cast<float>(min + span * offset / scale);
}

float SnapToStep(float v, std::uint16_t step) {
    if (step == 0) {
        return v;
    }
    const long double q = std::nearbyint(static_cast<long double>(v) / step);
    constexpr long double kInt64Limit = 9223372036854775807.0L;
    if (!(std::fabs(q) < kInt64Limit / step)) {
        return v;
    }
    const std::int64_t product = static_cast<std::int64_t>(q) * step;
    return static_cast<float>(product);
}

}  // namespace vadero
