#pragma once
// The points of a loop check as the calibrator runs them: each point's
// nominal percent, the loop value it stands for, the instrument value it
// stands for. Made from the settings and the calibrator's parameters, and
// refused (InputError) before anything is sent when the calibrator cannot
// do it.

#include <string>
#include <variant>
#include <vector>

#include "calibrator/LCXParams.h"
#include "check/Settings.h"

namespace vadero::check {

// The loop's signal: 4-20 mA is 4 at 0 % and 20 at 100 %.
struct Loop {
    int range = rgGenerate420mA;  // the generating range code it is named by
    double lower = 4;
    double upper = 20;
    std::string unit = "mA";

    double Span() const { return upper - lower; }
    double At(double percent) const { return lower + Span() * percent / 100; }
    std::string Name() const;  // "4-20 mA"
};

Loop LoopOf(int generatingRange);

enum class Direction { Up, Down };
const char* DirectionName(Direction direction);  // "up", "down"

struct PlannedPoint {
    int number = 1;  // from 1, in the order the points are taken
    Direction direction = Direction::Up;
    double percent = 0;     // nominal, of the span
    double loopValue = 0;   // nominal, in the loop's unit
    double instrument = 0;  // nominal, in the instrument's unit
};

struct PointPlan {
    Loop loop;
    int calibratorRange = rgGenerate420mA;  // the range the check runs in
    std::vector<PlannedPoint> points;
};

// Why the calibrator cannot run a check as asked, for each caller to word.
struct PlanRefusal {
    enum class Kind { Range, Point };
    Kind kind = Kind::Range;
    Mode mode = Mode::Source;
    int range = 0;        // the calibrator's
    int neededRange = 0;  // Range: the one the check runs in
    Loop loop;
    PlannedPoint point;  // Point: the first outside what the calibrator does
    double lower = 0;    // Point: what it generates or measures in its range
    double upper = 0;
};

// The plan, or why the calibrator's range does not suit the mode or a point
// lies outside what it generates or measures.
std::variant<PointPlan, PlanRefusal> TryPlanPoints(const Settings& settings,
                                                   const TLCXParams& params);
// The same; throws InputError for a refusal (and says which `set range=` to use).
PointPlan PlanPoints(const Settings& settings, const TLCXParams& params);

// The points in the order they are taken, without the calibrator's checks.
std::vector<PlannedPoint> PointsInOrder(const Settings& settings, const Loop& loop);

}  // namespace vadero::check
