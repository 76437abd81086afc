#include "check/Evaluate.h"

#include <cmath>

namespace vadero::check {

double InstrumentOf(const Instrument& instrument, const Loop& loop, double loopValue) {
    return instrument.lower + (loopValue - loop.lower) / loop.Span() * instrument.Span();
}

double LoopOf(const Instrument& instrument, const Loop& loop, double instrumentValue) {
    return loop.lower + (instrumentValue - instrument.lower) / instrument.Span() * loop.Span();
}

double ErrorOfSpan(double actual, double ideal, double span) {
    const double error = (actual - ideal) / std::abs(span) * 100;
    const double scale = std::pow(10.0, kErrorDecimals);
    return std::nearbyint(error * scale) / scale;
}

bool WithinTolerance(double error, double tolerance) {
    return std::abs(error) <= tolerance;
}

PointResult Evaluate(const Settings& s, const Loop& loop, const PlannedPoint& planned,
                     double calibratorValue, int raw, int state, double reading) {
    PointResult r;
    r.planned = planned;
    r.calibratorValue = calibratorValue;
    r.raw = raw;
    r.state = state;
    r.reading = reading;
    if (s.mode == Mode::Source) {
        r.ideal = InstrumentOf(s.instrument, loop, calibratorValue);
        r.error = ErrorOfSpan(reading, r.ideal, s.instrument.Span());
    } else {
        r.ideal = LoopOf(s.instrument, loop, reading);
        r.error = ErrorOfSpan(calibratorValue, r.ideal, loop.Span());
    }
    // A measurement held at the range's limit says nothing of the error.
    r.pass = state == 0 && WithinTolerance(r.error, s.tolerance);
    return r;
}

double NominalReading(const PlannedPoint& planned) {
    return planned.instrument;
}

double CalibratorValue(double value) {
    return std::nearbyint(value * 1e4) / 1e4;
}

void Samples::Add(float value, int raw, int state) {
    ++count_;
    value_ += value;
    raw_ += raw;
    state_ = state_ != 0 ? state_ : state;
}

double Samples::Value() const {
    return count_ == 0 ? 0 : CalibratorValue(value_ / count_);
}

int Samples::Raw() const {
    return count_ == 0 ? 0 : int(std::nearbyint(raw_ / count_));
}

}  // namespace vadero::check
