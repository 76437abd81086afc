#pragma once
// Hands work from the reader thread to the owner thread, in posting order.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace vadero {

class Dispatcher {
public:
    virtual ~Dispatcher() = default;
    // Thread-safe; the callable runs later on the owner thread.
    virtual void post(std::function<void()> work) = 0;
};

// A dispatcher whose owner runs the queued work by calling pump(): used by
// tests and by loops that are not a toolkit's.
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
