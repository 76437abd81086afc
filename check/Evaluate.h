#pragma once
// A point's result: the ideal reading from the linear relation between the
// instrument's range and the loop's, the error in percent of span, and
// whether it lies within the tolerance. Pure.

#include <string>

#include "check/PointPlan.h"
#include "check/Settings.h"

namespace vadero::check {

struct PointResult {
    PlannedPoint planned;
    std::string time;  // when it was taken, ISO 8601 with the offset
    // What the calibrator generated (source) or measured (measure), in the
    // loop's unit, and its raw count.
    double calibratorValue = 0;
    int raw = 0;
    int state = 0;  // measure: 0 in the range, 1 above it (Dep+), 2 below it (Dep-)
    // Source: what the instrument shows; measure: the input applied to it.
    // In the instrument's unit.
    double reading = 0;
    // Source: the reading the instrument should show, in its unit; measure:
    // the loop value it should put out.
    double ideal = 0;
    double error = 0;  // percent of span, to a thousandth
    bool pass = false;
};

// Errors are kept in thousandths of a percent: what the record shows is what
// is judged, and a decimal tolerance meets them exactly.
inline constexpr int kErrorDecimals = 3;

// The instrument value the loop value stands for, and the reverse.
double InstrumentOf(const Instrument& instrument, const Loop& loop, double loopValue);
double LoopOf(const Instrument& instrument, const Loop& loop, double instrumentValue);

// (actual - ideal) in percent of |span|, rounded to kErrorDecimals.
double ErrorOfSpan(double actual, double ideal, double span);
bool WithinTolerance(double error, double tolerance);

// The result of a point once its values are in.
PointResult Evaluate(const Settings& settings, const Loop& loop, const PlannedPoint& planned,
                     double calibratorValue, int raw, int state, double reading);

// The reading the technician is offered at a point (Enter): the instrument's
// nominal value.
double NominalReading(const PlannedPoint& planned);

// A value of the calibrator as the check takes it: to four decimals, the
// places its single-precision conversions hold.
double CalibratorValue(double value);

// The measurements of a point: their mean, and the first overrun among them.
class Samples {
  public:
    void Add(float value, int raw, int state);
    int Count() const { return count_; }
    double Value() const;  // the mean, as CalibratorValue keeps it
    int Raw() const;       // the mean, to the nearest count
    int State() const { return state_; }

  private:
    int count_ = 0;
    double value_ = 0;
    double raw_ = 0;
    int state_ = 0;
};

}  // namespace vadero::check
