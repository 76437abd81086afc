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

// The loop a check runs on: the one asked for, else the calibrator's own
// generating range, or the usual loop of its measuring range.
Loop LoopFor(const Settings& s, int range) {
    if (s.mode == Mode::Source)
        return LoopOf(s.loop.value_or(IsGenerating(range) ? range : int(rgGenerate420mA)));
    return LoopOf(
        s.loop.value_or(range == rgMeasureVoltage ? int(rgGenerate010V) : int(rgGenerate420mA)));
}

std::string Refused(const PlanRefusal& r) {
    const bool source = r.mode == Mode::Source;
    const char* does = source ? "generates" : "measures";
    if (r.kind == PlanRefusal::Kind::Point)
        return "the point " + Shown(r.point.percent, 2) + " % is " + Shown(r.point.loopValue) +
               " " + r.loop.unit + ", outside the " + Shown(r.lower) + " to " + Shown(r.upper) +
               " " + r.loop.unit + " the calibrator " + does + " in \"" + RangeLabel(r.range) +
               "\"";
    return std::string(source ? "a source check of a " : "a measure check of a ") + r.loop.Name() +
           " loop " + does + " in \"" + RangeLabel(r.neededRange) +
           "\", and the calibrator is in \"" + RangeLabel(r.range) +
           "\": " + SetRange(r.neededRange) + " first";
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

std::variant<PointPlan, PlanRefusal> TryPlanPoints(const Settings& s, const TLCXParams& params) {
    const int range = params.Range();
    PlanRefusal refusal;
    refusal.mode = s.mode;
    refusal.range = range;
    refusal.loop = LoopFor(s, range);
    refusal.neededRange =
        s.mode == Mode::Source ? refusal.loop.range : MeasuringRangeOf(refusal.loop);
    if (range != refusal.neededRange)
        return refusal;
    PointPlan plan;
    plan.loop = refusal.loop;
    plan.calibratorRange = range;
    plan.points = PointsInOrder(s, plan.loop);
    const Limits limits = s.mode == Mode::Source ? Generated(range) : Measured(range);
    for (const PlannedPoint& p : plan.points)
        if (p.loopValue < limits.lower - kSlack || p.loopValue > limits.upper + kSlack) {
            refusal.kind = PlanRefusal::Kind::Point;
            refusal.point = p;
            refusal.lower = limits.lower;
            refusal.upper = limits.upper;
            return refusal;
        }
    return plan;
}

PointPlan PlanPoints(const Settings& s, const TLCXParams& params) {
    auto plan = TryPlanPoints(s, params);
    if (const auto* refusal = std::get_if<PlanRefusal>(&plan))
        throw InputError(Refused(*refusal));
    return std::get<PointPlan>(std::move(plan));
}

}  // namespace vadero::check
