#include "calibrator/EventLoop.h"

#include <algorithm>

namespace vadero {

class EventLoop::LoopTimer : public Timer {
  public:
    explicit LoopTimer(EventLoop& loop) : loop_(loop) {}
    ~LoopTimer() override { loop_.remove(this); }
    void Start(std::chrono::milliseconds interval, std::function<void()> tick) override {
        interval_ = interval;
        tick_ = std::move(tick);
        next_ = loop_.Now() + interval_;
        running_ = true;
    }
    void Stop() override { running_ = false; }
    bool Due(Clock::time_point now) const { return running_ && now >= next_; }
    Clock::time_point Next() const { return running_ ? next_ : Clock::time_point::max(); }
    void Fire(Clock::time_point now) {
        next_ = std::max(next_ + interval_, now);  // a late loop does not fire in bursts
        if (tick_)
            tick_();
    }

  private:
    EventLoop& loop_;
    std::function<void()> tick_;
    std::chrono::milliseconds interval_{0};
    Clock::time_point next_{};
    bool running_ = false;
};

EventLoop::~EventLoop() = default;

EventLoop::Clock::time_point EventLoop::Now() const {
    return virtual_ ? virtualNow_ : Clock::now();
}

void EventLoop::post(std::function<void()> work) {
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(work));
    }
    posted_.notify_one();
}

std::unique_ptr<Timer> EventLoop::CreateTimer() {
    auto timer = std::make_unique<LoopTimer>(*this);
    timers_.push_back(timer.get());
    return timer;
}

void EventLoop::remove(LoopTimer* timer) {
    std::erase(timers_, timer);
}

EventLoop::Clock::time_point EventLoop::fireDue(Clock::time_point now, Clock::time_point limit) {
    // A tick may create or destroy timers: walk a copy, re-checking membership.
    const std::vector<LoopTimer*> snapshot = timers_;
    for (LoopTimer* timer : snapshot)
        if (std::find(timers_.begin(), timers_.end(), timer) != timers_.end() && timer->Due(now))
            timer->Fire(now);
    Clock::time_point next = limit;
    for (const LoopTimer* timer : timers_) next = std::min(next, timer->Next());
    return next;
}

bool EventLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = Now() + limit;
    for (;;) {
        if (done())
            return true;
        const auto now = Now();
        if (now >= deadline)
            return false;
        const auto next = fireDue(now, deadline);
        if (done())
            return true;
        std::function<void()> work;
        {
            std::unique_lock lock(mutex_);
            if (virtual_ && queue_.empty())
                virtualNow_ = std::max(virtualNow_, next);
            else
                posted_.wait_until(lock, next, [this] { return !queue_.empty(); });
            if (!queue_.empty()) {
                work = std::move(queue_.front());
                queue_.pop_front();
            }
        }
        if (work)
            work();
    }
}

}  // namespace vadero
