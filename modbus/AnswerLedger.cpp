#include "modbus/AnswerLedger.h"

#include <algorithm>

namespace vadero::modbus {

bool AnswerLedger::IsResend(std::span<const std::uint8_t> frame) const {
    return !newRequest_ && !answered_ && sends_ > 0 && std::ranges::equal(frame, frame_);
}

void AnswerLedger::Sent(std::span<const std::uint8_t> frame, Clock::time_point at) {
    if (IsResend(frame)) {
        ++sends_;
        last_ = at;
        return;
    }
    frame_.assign(frame.begin(), frame.end());
    sends_ = 1;
    answers_ = 0;
    answered_ = false;
    newRequest_ = false;
    first_ = last_ = at;
}

void AnswerLedger::Answered(Clock::time_point at) {
    if (answered_ || sends_ == 0)
        return;
    answered_ = true;
    answeredAt_ = at;
}

AnswerLedger::Arrival AnswerLedger::Received() {
    if (sends_ == 0)
        return Arrival::Current;
    if (!answered_ || !owed()) {
        ++answers_;
        return Arrival::Current;
    }
    ++answers_;
    return owed() ? Arrival::Late : Arrival::LastLate;
}

AnswerLedger::Clock::time_point AnswerLedger::FreeAt() const {
    if (!owed())
        return Clock::time_point::min();
    if (!answered_)
        return last_ + tick_;
    // An answer after the request was given up says nothing of the line's delay.
    const auto took = std::min<Clock::duration>(answeredAt_ - first_, kSends * tick_);
    return last_ + took + tick_;
}

}  // namespace vadero::modbus
