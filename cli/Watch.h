#pragma once
// measure --watch: measurements one after another at an interval, one line
// each, until a count or a stop; a measurement that got no answer is a line
// of its own and the watch goes on, a calibrator that went away ends it.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "calibrator/EventLoop.h"
#include "calibrator/LocalTime.h"
#include "cli/Stop.h"
#include "cli/Task.h"

namespace vadero::cli {

struct Measurement {
    bool answered = false;
    bool gone = false;  // the calibrator was unplugged
    std::int16_t raw = 0;
    float value = 0;
    int state = 0;  // 0 in the range, 1 above it (Dep+), 2 below it (Dep-)
};

struct WatchSettings {
    std::chrono::milliseconds interval{750};  // from one measurement's start to the next
    int count = 0;                            // 0: until a stop
};

using Measure = std::function<Task<Measurement>()>;
using WatchLine = std::function<void(EventLoop::Clock::time_point, const Measurement&)>;

// Returns the exit status: 0, or 2 when the calibrator went away.
Task<int> Watch(EventLoop& loop, Measure measure, WatchSettings settings, WatchLine line,
                Stop& stop);

enum class LineFormat { Text, Csv, Json };

struct LineLayout {
    LineFormat format = LineFormat::Text;
    std::string serial;  // with -d all: every line names its calibrator
    std::string unit;
    int decimals = 3;
};

std::string CsvHeader(bool withSerial);
std::string FormatLine(const LineLayout& layout, const std::string& time, const Measurement& m);

}  // namespace vadero::cli
