#pragma once
// The periodic timer the session ticks on: a toolkit timer in the window, the
// loop's timer in the command-line tool, a hand-driven one in tests.

#include <chrono>
#include <functional>
#include <memory>

#include "transport/Types.h"

namespace vadero {

class Timer : public TObject {
  public:
    // Starts (or restarts) ticking every interval on the owner thread.
    virtual void Start(std::chrono::milliseconds interval, std::function<void()> tick) = 0;
    virtual void Stop() = 0;
};

class TimerFactory {
  public:
    virtual ~TimerFactory() = default;
    virtual std::unique_ptr<Timer> CreateTimer() = 0;
};

}  // namespace vadero
