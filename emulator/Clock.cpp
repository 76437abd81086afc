#include "emulator/Clock.h"

#include <algorithm>

namespace vadero::emu {

class EmuClock::Wake : public HidWake {
  public:
    explicit Wake(EmuClock& clock) : clock_(clock) {}
    void signal() override {
        {
            const std::lock_guard lock(clock_.mutex_);
            signalled_ = true;
        }
        clock_.changed_.notify_all();
    }
    void clear() override {
        const std::lock_guard lock(clock_.mutex_);
        signalled_ = false;
    }
    bool signalled() const override {
        const std::lock_guard lock(clock_.mutex_);
        return signalled_;
    }
    bool signalledLocked() const { return signalled_; }  // the clock's mutex held

  private:
    EmuClock& clock_;
    bool signalled_ = false;
};

TimePoint EmuClock::now() const {
    if (kind_ == Kind::Real)
        return std::chrono::steady_clock::now();
    const std::lock_guard lock(mutex_);
    return virtualNow_;
}

bool EmuClock::waitUntil(TimePoint when, HidWake& wake) {
    std::unique_lock lock(mutex_);
    if (kind_ == Kind::Virtual) {
        virtualNow_ = std::max(virtualNow_, when);
        return true;
    }
    const auto* ours = dynamic_cast<const Wake*>(&wake);
    if (!ours) {  // a wake of another layer cannot reach this clock: wait the time out
        changed_.wait_until(lock, when, [&] { return std::chrono::steady_clock::now() >= when; });
        return true;
    }
    return !changed_.wait_until(lock, when, [&] { return ours->signalledLocked(); });
}

void EmuClock::advance(Duration duration) {
    if (kind_ == Kind::Real || duration <= Duration::zero())
        return;
    const std::lock_guard lock(mutex_);
    virtualNow_ += duration;
}

std::unique_ptr<HidWake> EmuClock::makeWake() {
    return std::make_unique<Wake>(*this);
}

}  // namespace vadero::emu
