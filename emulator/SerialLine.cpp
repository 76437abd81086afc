#include "emulator/SerialLine.h"

#include <algorithm>
#include <utility>

namespace vadero::emu {

namespace {

constexpr long long kBitsPerByte = 11;

long long Baud(TPortFormat format) {
    switch (format) {
        case TPortFormat::_19200_8E1:
            return 19200;
        case TPortFormat::_38400_8E1:
            return 38400;
        default:
            return 9600;
    }
}

}  // namespace

Duration ByteTime(TPortFormat format) {
    return Duration(kBitsPerByte * 1'000'000'000LL / Baud(format));
}

Duration SilenceTime(TPortFormat format) {
    return ByteTime(format) * 7 / 2;
}

void LineReceiver::Transmit(TimePoint at, std::span<const std::uint8_t> bytes, TPortFormat format) {
    if (bytes.empty())
        return;
    const TimePoint start = std::max(at, lastByteEnd_);
    lastByteEnd_ = start + ByteTime(format) * static_cast<long long>(bytes.size());
    silence_ = SilenceTime(format);
    frame_.insert(frame_.end(), bytes.begin(), bytes.end());
}

std::optional<TimePoint> LineReceiver::FrameEnd() const {
    if (frame_.empty())
        return std::nullopt;
    return lastByteEnd_ + silence_;
}

std::vector<std::uint8_t> LineReceiver::TakeFrame() {
    return std::exchange(frame_, {});
}

void LineReceiver::Clear() {
    frame_.clear();
}

}  // namespace vadero::emu
