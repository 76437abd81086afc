#pragma once
// What a frame of the traffic means, in the window's words, read from the
// session's debug text of it ("TX : 64 03 00 00 00 0C 4D F8 "): the request
// sent with the values it writes, or the answer with the values it reads,
// the exception or the fault received.

#include <QString>
#include <cstdint>
#include <string>

#include "app/traffic/RegisterMeaning.h"

namespace vadero {

// What the frames before one tell about it: the request its answer would
// belong to, and the range the calibrator was last seen or set in.
struct TrafficContext {
    int function = -1;  // of the last request sent; -1 before any
    int address = 0;
    int count = 0;
    int range = kRangeUnknown;
};

// `node` is the slave the window talks to.
QString FrameMeaning(const std::string& traceText, std::uint8_t node,
                     const TrafficContext& before = {});
// The context once the frame has passed.
TrafficContext ContextAfter(const std::string& traceText, std::uint8_t node,
                            const TrafficContext& before);

}  // namespace vadero
