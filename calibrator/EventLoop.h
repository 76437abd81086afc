#pragma once
// A small single-threaded event loop for headless programs: it runs posted
// work in order and fires timers, sleeping on a condition in between.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "calibrator/Timer.h"
#include "transport/Dispatcher.h"

namespace vadero {

class EventLoop : public Dispatcher, public TimerFactory {
  public:
    using Clock = std::chrono::steady_clock;

    // Virtual: the clock stands still while there is work and jumps to the
    // next timer when there is none, so that tests of timing never sleep.
    enum class Time { Real, Virtual };

    explicit EventLoop(Time time = Time::Real) : virtual_(time == Time::Virtual) {}
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;
    ~EventLoop() override;

    void post(std::function<void()> work) override;  // any thread
    std::unique_ptr<Timer> CreateTimer() override;   // owner thread

    // Runs work and timers until done() holds (checked after each piece of
    // work) or the limit passes; true when done() held.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
    Clock::time_point Now() const;  // the loop's clock: steady, or virtual

  private:
    class LoopTimer;
    void remove(LoopTimer* timer);
    // Fires the timers that are due; returns the next deadline.
    Clock::time_point fireDue(Clock::time_point now, Clock::time_point limit);

    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> queue_;
    std::vector<LoopTimer*> timers_;  // owner thread only
    const bool virtual_;
    Clock::time_point virtualNow_{};  // owner thread only
};

}  // namespace vadero
