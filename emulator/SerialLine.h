#pragma once
// The serial line between the bridge chip and the calibrator. Every format
// of the bridge takes 11 bits a byte (start, 8 data, parity or a second stop
// bit, stop): 1.146 ms at 9600 baud. A request ends when the line has been
// silent for 3.5 character times after its last byte.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "emulator/Clock.h"
#include "transport/Types.h"

namespace vadero::emu {

Duration ByteTime(TPortFormat format);
Duration SilenceTime(TPortFormat format);  // 3.5 character times

// The calibrator's receiving side: gathers the bytes of one request.
class LineReceiver {
  public:
    // Bytes go on the line from `at`, or once the earlier ones have passed.
    // Take a frame whose end has passed before putting new bytes on.
    void Transmit(TimePoint at, std::span<const std::uint8_t> bytes, TPortFormat format);
    // When the request on the line is complete; empty while there is none.
    std::optional<TimePoint> FrameEnd() const;
    std::vector<std::uint8_t> TakeFrame();
    void Clear();

  private:
    std::vector<std::uint8_t> frame_;
    TimePoint lastByteEnd_{};
    Duration silence_{};
};

}  // namespace vadero::emu
