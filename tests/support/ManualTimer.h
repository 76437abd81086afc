#pragma once
// Timers for tests: they tick only when the test fires them.

#include <chrono>
#include <functional>
#include <memory>

#include "calibrator/Timer.h"

namespace vadero {

// Ticks only when told to.
class ManualTimer : public Timer {
  public:
    void Start(std::chrono::milliseconds interval, std::function<void()> tick) override {
        interval_ = interval;
        tick_ = std::move(tick);
        running_ = true;
    }
    void Stop() override { running_ = false; }
    void Fire() {
        if (running_ && tick_)
            tick_();
    }
    bool Running() const { return running_; }
    std::chrono::milliseconds Interval() const { return interval_; }

  private:
    std::function<void()> tick_;
    std::chrono::milliseconds interval_{0};
    bool running_ = false;
};

// Hands out manual timers and remembers the last one for the test to fire.
class ManualTimerFactory : public TimerFactory {
  public:
    std::unique_ptr<Timer> CreateTimer() override {
        auto timer = std::make_unique<ManualTimer>();
        last_ = timer.get();
        return timer;
    }
    ManualTimer* Last() const { return last_; }

  private:
    ManualTimer* last_ = nullptr;
};

}  // namespace vadero
