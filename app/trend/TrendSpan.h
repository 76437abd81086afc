#pragma once
// The part of the trend that is shown: the points of the last ten minutes in
// the latest point's unit, on a time axis from the first of them to the
// latest (at least kTrendLeastSpanMs long); and the
// minimum, maximum and mean of what it shows. Pure functions.

#include <QtGlobal>
#include <deque>
#include <vector>

#include "app/trend/TrendSeries.h"

namespace vadero {

inline constexpr qint64 kTrendWindowMs = qint64{10} * 60 * 1000;
// The shortest time axis, so that the first points have one to stand on.
inline constexpr qint64 kTrendLeastSpanMs = qint64{10} * 1000;

struct TrendSpan {
    qint64 start = 0;  // the time axis, ms since the epoch
    qint64 end = 0;
    const char* unit = "mA";
    // The points from start on in that unit, oldest first.
    std::vector<const TrendPoint*> points;
};

// Empty points give an empty span.
TrendSpan SpanOf(const std::deque<TrendPoint>& points);

struct TrendStats {
    int count = 0;     // measured values counted
    int overruns = 0;  // "Dep+" and "Dep-", left out of the figures
    float minimum = 0;
    float maximum = 0;
    double mean = 0;
};

TrendStats StatsOf(const TrendSpan& span);

}  // namespace vadero
