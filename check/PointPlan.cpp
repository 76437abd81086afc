#include "check/PointPlan.h"

#include <cmath>
#include <limits>

#include "calibrator/Conversions.h"
#include "calibrator/InputError.h"
#include "calibrator/Numbers.h"
#include "calibrator/Parameters.h"

namespace vadero::check {

namespace {

// Parsed decimals meet a limit within this.
constexpr double kSlack = 1e-9;

// The conversions work in single precision; their values are decimals of four places.
double Rounded(float value) {
    return std::nearbyint(double(value) * 1e4) / 1e4;
}

struct Limits {
    double lower = 0;
    double upper = 0;
};

// What the calibrator generates in a range: 0 to 110 % of its full scale.
Limits Generated(int range) {
    return {Rounded(RawToValue(TValueUnit::uPhysical, range, 0, {})),
            Rounded(RawToValue(TValueUnit::uPhysical, range, std::int16_t(kRawMax), {}))};
}

// What it measures in a range: the limits its measurement is held within.
Limits Measured(int range) {
    float lower = 0;
    float upper = 0;
    MeasureToValue(range, std::numeric_limits<std::int16_t>::min(), lower);
    MeasureToValue(range, std::numeric_limits<std::int16_t>::max(), upper);
    return {Rounded(lower), Rounded(upper)};
}

int MeasuringRangeOf(const Loop& loop) {
    return loop.range == rgGenerate010V ? rgMeasureVoltage : rgMeasureCurrent;
}

std::string SetRange(int code) {
    return "lcx3 set range=" + std::to_string(code) + " (\"" + RangeLabel(code) + "\")";
}

std::string Shown(double value, int decimals = 3) {
    std::string text = FormatPicture(value, "#0." + std::string(std::size_t(decimals), '0'));
    return text.substr(std::min(text.find_first_not_of(' '), text.size()));
}

// The loop a check runs on, and the range it needs; throws when the
// calibrator is in another.
Loop ChooseLoop(const Settings& s, int range) {
    const std::string now = "the calibrator is in \"" + RangeLabel(range) + "\"";
    if (s.mode == Mode::Source) {
        const int wanted = s.loop.value_or(IsGenerating(range) ? range : int(rgGenerate420mA));
        if (range != wanted)
            throw InputError("a source check of a " + LoopOf(wanted).Name() +
                             " loop generates in \"" + RangeLabel(wanted) + "\", and " + now +
                             ": " + SetRange(wanted) + " first");
        return LoopOf(wanted);
    }
    Loop loop = LoopOf(
        s.loop.value_or(range == rgMeasureVoltage ? int(rgGenerate010V) : int(rgGenerate420mA)));
    const int wanted = MeasuringRangeOf(loop);
    if (range != wanted)
        throw InputError("a measure check of a " + loop.Name() + " loop measures in \"" +
                         RangeLabel(wanted) + "\", and " + now + ": " + SetRange(wanted) +
                         " first");
    return loop;
}

}  // namespace

std::string Loop::Name() const {
    return RangeName(range);
}

Loop LoopOf(int generatingRange) {
    const auto at = [generatingRange](float percent) {
        return Rounded(RawToValue(
            TValueUnit::uPhysical, generatingRange,
            std::int16_t(ValueToRaw(TValueUnit::uPercent, generatingRange, percent, {})), {}));
    };
    return {generatingRange, at(0), at(100), kMemoryTables.at(std::size_t(generatingRange)).unit};
}

const char* DirectionName(Direction direction) {
    return direction == Direction::Up ? "up" : "down";
}

std::vector<PlannedPoint> PointsInOrder(const Settings& s, const Loop& loop) {
    std::vector<PlannedPoint> points;
    const auto add = [&](double percent, Direction direction) {
        points.push_back({int(points.size()) + 1, direction, percent, loop.At(percent),
                          s.instrument.At(percent)});
    };
    for (const double p : s.points) add(p, Direction::Up);
    if (s.upDown)
        for (auto p = s.points.rbegin(); p != s.points.rend(); ++p) add(*p, Direction::Down);
    return points;
}

PointPlan PlanPoints(const Settings& s, const TLCXParams& params) {
    const int range = params.Range();
    PointPlan plan;
    plan.loop = ChooseLoop(s, range);
    plan.calibratorRange = range;
    plan.points = PointsInOrder(s, plan.loop);
    const Limits limits = s.mode == Mode::Source ? Generated(range) : Measured(range);
    const char* does = s.mode == Mode::Source ? "generates" : "measures";
    for (const PlannedPoint& p : plan.points)
        if (p.loopValue < limits.lower - kSlack || p.loopValue > limits.upper + kSlack)
            throw InputError("the point " + Shown(p.percent, 2) + " % is " + Shown(p.loopValue) +
                             " " + plan.loop.unit + ", outside the " + Shown(limits.lower) +
                             " to " + Shown(limits.upper) + " " + plan.loop.unit +
                             " the calibrator " + does + " in \"" + RangeLabel(range) + "\"");
    return plan;
}

}  // namespace vadero::check
