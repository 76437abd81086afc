#pragma once
// What a frame of the traffic means, in the window's words, read from the
// session's debug text of it ("TX : 64 03 00 00 00 0C 4D F8 "): the request
// sent, or the answer, exception or fault received.

#include <cstdint>
#include <string>

namespace vadero {

// UTF-8 text; `node` is the slave the window talks to.
std::string FrameMeaning(const std::string& traceText, std::uint8_t node);

}  // namespace vadero
