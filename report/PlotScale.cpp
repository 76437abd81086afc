#include "report/PlotScale.h"

#include <algorithm>
#include <cmath>

namespace vadero::report {

namespace {

// A step of 1, 2 or 5 times a power of ten that gives about `count` ticks.
double NiceStep(double span, int count) {
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (raw <= m * power)
            return m * power;
    return 10 * power;
}

}  // namespace

PlotScale ScaleOf(const check::Record& r) {
    PlotScale s;
    for (const double p : r.settings.points) {
        s.xMin = std::min(s.xMin, p);
        s.xMax = std::max(s.xMax, p);
    }
    // Room beside the first and last points for their marks.
    s.xPad = (s.xMax - s.xMin) * 0.03;
    s.xMin -= s.xPad;
    s.xMax += s.xPad;
    s.yMax = r.settings.tolerance * 2;
    for (const check::PointResult& p : r.points)
        s.yMax = std::max(s.yMax, std::abs(p.error) * 1.15);
    s.yStep = NiceStep(2 * s.yMax, 6);
    s.yMax = std::ceil(s.yMax / s.yStep) * s.yStep;
    s.xStep = NiceStep(s.xMax - s.xMin - 2 * s.xPad, 10);
    return s;
}

std::string TickText(double value, double step) {
    const int decimals = step >= 1 ? 0 : int(std::ceil(-std::log10(step) - 1e-9));
    return check::Fixed(std::abs(value) < step / 1e6 ? 0 : value, decimals);
}

}  // namespace vadero::report
