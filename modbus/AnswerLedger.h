#pragma once
// The request on the line, its sends and the answers they may still bring.
// Modbus RTU carries no transaction number, and a function 3 or 4 answer no
// address: once a request has been sent more than once, each send may be
// answered, and the answer to a re-send that comes after the request was
// answered would be taken by the next request of the same function and count.
// So the line is free for another request only once as many answers as sends
// have come, or once the last send's answer can no longer come: one tick
// after it was due, and it is due as long after that send as the request's
// own answer took after its first send (at once when none was taken). What
// arrives between the answer and then is a late answer, to be dropped.
// Bookkeeping only: the master gives it the frames and the times.

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

namespace vadero::modbus {

class AnswerLedger {
  public:
    using Clock = std::chrono::steady_clock;
    // A request is sent at most this many times, a tick apart.
    static constexpr int kSends = 3;

    explicit AnswerLedger(std::chrono::milliseconds tick) : tick_(tick) {}

    void SetTick(std::chrono::milliseconds tick) { tick_ = tick; }
    // The next send starts a request of its own, even with the bytes of the last.
    void NewRequest() { newRequest_ = true; }
    // A send of the request awaited again (the same bytes), or of a new one.
    bool IsResend(std::span<const std::uint8_t> frame) const;
    void Sent(std::span<const std::uint8_t> frame, Clock::time_point at);
    // The request's answer was taken.
    void Answered(Clock::time_point at);

    enum class Arrival {
        Current,  // may answer the request on the line (or none is)
        Late,     // a late answer to a re-send of a request answered: dropped
        LastLate  // the same, and the last one that could come: the line is free
    };
    // Late until the next request goes out, also once the window has passed:
    // nothing else is awaited meanwhile.
    Arrival Received();

    // A request other than a re-send may go out.
    bool Free(Clock::time_point now) const { return now + slack() >= FreeAt(); }
    // When the line is free at the latest (already past when it is free).
    Clock::time_point FreeAt() const;
    int Sends() const { return sends_; }

  private:
    bool owed() const { return sends_ > 1 && answers_ < sends_; }
    // A tick falls due when the last send's window ends, and may run a
    // little before the time stamped on that send.
    std::chrono::milliseconds slack() const { return tick_ / 10; }

    std::chrono::milliseconds tick_;
    std::vector<std::uint8_t> frame_;
    int sends_ = 0;
    int answers_ = 0;  // frames received since the first send
    bool answered_ = false;
    bool newRequest_ = false;
    Clock::time_point first_{};
    Clock::time_point last_{};
    Clock::time_point answeredAt_{};
};

}  // namespace vadero::modbus
