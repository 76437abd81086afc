#pragma once
// Times as lcx3 and the records write them: local time with its offset.

#include <chrono>
#include <string>

namespace vadero {

// "2026-12-09T14:03:07.250+01:00", ISO 8601 with milliseconds.
std::string IsoLocalTime(std::chrono::system_clock::time_point at);
// "20261209T140307", for file names.
std::string CompactLocalTime(std::chrono::system_clock::time_point at);

}  // namespace vadero
