#pragma once
// The emulator's time: the real steady clock, or a virtual one that moves only
// when a read, a pause or the test moves it, so that runs on it never sleep.

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "transport/HidLayer.h"

namespace vadero::emu {

using TimePoint = std::chrono::steady_clock::time_point;
using Duration = std::chrono::nanoseconds;

class EmuClock {
  public:
    enum class Kind { Real, Virtual };

    explicit EmuClock(Kind kind) : kind_(kind) {}
    EmuClock(const EmuClock&) = delete;
    EmuClock& operator=(const EmuClock&) = delete;

    Kind kind() const { return kind_; }
    TimePoint now() const;
    // Real: waits until `when`, or less when the wake is signalled (false
    // then). Virtual: moves the time to `when` (never backwards) and returns
    // true; nothing blocks there, so a wake has nothing to end.
    bool waitUntil(TimePoint when, HidWake& wake);
    // Virtual only: moves the time forward by hand; ignored in real time.
    void advance(Duration duration);
    // A wake that ends this clock's real-time waits.
    std::unique_ptr<HidWake> makeWake();

  private:
    class Wake;

    const Kind kind_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    TimePoint virtualNow_{};
};

}  // namespace vadero::emu
