#pragma once
// The measurements of the trend: one point per tick, each with its time, the
// value in its range's unit (or the overrun "Dep+"/"Dep-"), its unit and the
// raw count, and their CSV text.

#include <QtGlobal>
#include <cstdint>
#include <deque>
#include <string>

namespace vadero {

struct TrendPoint {
    qint64 ms = 0;  // since the epoch
    std::int16_t raw = 0;
    int range = 0;
    float value = 0;        // limited to the range's span
    std::uint8_t code = 0;  // 0 in range, 1 above ("Dep+"), 2 below ("Dep-")
};

// "mA", "V" or "KOhms", as the page "Principal" names the measure's unit.
const char* UnitOfRange(int range);

class TrendSeries {
  public:
    // About a day at one point per tick; the oldest go first.
    static constexpr std::size_t kCapacity = 115200;

    // A point from the calibrator's raw measurement in a range.
    static TrendPoint Measured(qint64 ms, int range, std::int16_t raw);

    void Add(const TrendPoint& point);
    void Clear() { points_.clear(); }
    const std::deque<TrendPoint>& Points() const { return points_; }

    // "time,value,unit,raw" then one line per point; the time in ISO 8601
    // with milliseconds and the local offset, the value with "." or "Dep+".
    std::string Csv() const;

  private:
    std::deque<TrendPoint> points_;
};

}  // namespace vadero
