#include "app/trend/TrendSpan.h"

#include <algorithm>
#include <cstring>

namespace vadero {

TrendSpan SpanOf(const std::deque<TrendPoint>& points) {
    TrendSpan span;
    if (points.empty())
        return span;
    const TrendPoint& last = points.back();
    span.unit = UnitOfRange(last.range);
    const qint64 oldest = last.ms - kTrendWindowMs;
    for (auto it = points.rbegin(); it != points.rend() && it->ms >= oldest; ++it)
        if (std::strcmp(UnitOfRange(it->range), span.unit) == 0)
            span.points.push_back(&*it);
    std::reverse(span.points.begin(), span.points.end());
    span.start = span.points.front()->ms;
    span.end = std::max(last.ms, span.start + kTrendLeastSpanMs);
    return span;
}

TrendStats StatsOf(const TrendSpan& span) {
    TrendStats stats;
    double sum = 0;
    for (const TrendPoint* p : span.points) {
        if (p->code != 0) {
            ++stats.overruns;
            continue;
        }
        stats.minimum = stats.count == 0 ? p->value : std::min(stats.minimum, p->value);
        stats.maximum = stats.count == 0 ? p->value : std::max(stats.maximum, p->value);
        sum += p->value;
        ++stats.count;
    }
    if (stats.count > 0)
        stats.mean = sum / stats.count;
    return stats;
}

}  // namespace vadero
