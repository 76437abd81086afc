#include "tests/support/ManualDispatcher.h"

namespace vadero {

void ManualDispatcher::post(std::function<void()> work) {
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(work));
    }
    queued_.notify_all();
}

int ManualDispatcher::pump() {
    int count = 0;
    for (;;) {
        std::function<void()> work;
        {
            const std::lock_guard lock(mutex_);
            if (queue_.empty())
                return count;
            work = std::move(queue_.front());
            queue_.pop_front();
        }
        work();
        ++count;
    }
}

bool ManualDispatcher::waitForWork(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return queued_.wait_for(lock, timeout, [this] { return !queue_.empty(); });
}

bool ManualDispatcher::empty() const {
    const std::lock_guard lock(mutex_);
    return queue_.empty();
}

}  // namespace vadero
