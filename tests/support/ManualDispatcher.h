#pragma once
// A dispatcher for tests: the queued work runs when the test pumps it.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "transport/Dispatcher.h"

namespace vadero {

class ManualDispatcher : public Dispatcher {
  public:
    void post(std::function<void()> work) override;
    // Runs what is queued, including work posted while pumping; returns the count.
    int pump();
    // Waits until work is queued or the time-out passes; true when work is queued.
    bool waitForWork(std::chrono::milliseconds timeout);
    bool empty() const;

  private:
    mutable std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<std::function<void()>> queue_;
};

}  // namespace vadero
