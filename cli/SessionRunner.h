#pragma once
// Runs the calibrator session on an event loop, one transfer at a time, each
// an awaitable task that ends when the transfer completes or times out.
// Several runners may share one loop: their calibrators are then served in
// parallel. In fast pace the next step is sent as soon as an answer moved the
// session on; an unanswered step still waits a whole tick.

#include <chrono>
#include <coroutine>
#include <functional>
#include <memory>

#include "calibrator/EventLoop.h"
#include "calibrator/LCX.h"
#include "cli/Task.h"

namespace vadero::cli {

// Tick: every step on the 750 ms tick, as the window runs it.
enum class Pace { Tick, Fast };

// The calibrator a runner opened, as lcx3 list shows it.
struct Calibrator {
    int number = 0;
    std::string serial;
    std::string path;
};

struct RunnerHooks {
    std::function<void(const std::string& frameText)> trace;  // TX and RX texts
    std::function<void(int percent)> progress;
};

// One coroutine at a time waits here until Notify() or the time limit.
class Waiter {
  public:
    explicit Waiter(EventLoop& loop) : loop_(loop), limit_(loop.CreateTimer()) {}
    Waiter(const Waiter&) = delete;
    Waiter& operator=(const Waiter&) = delete;

    // co_await Until(limit): true when notified, false when the limit passed.
    auto Until(std::chrono::milliseconds limit) {
        struct Awaiter {
            Waiter& w;
            std::chrono::milliseconds limit;
            bool await_ready() const noexcept { return false; }
            void await_suspend(std::coroutine_handle<> h) { w.arm(h, limit); }
            bool await_resume() const noexcept { return w.notified_; }
        };
        return Awaiter{*this, limit};
    }
    // Wakes the waiting coroutine, later on the loop; nothing when none waits.
    void Notify() { wake(true); }
    bool Waiting() const { return bool(waiting_); }

  private:
    void arm(std::coroutine_handle<> h, std::chrono::milliseconds limit);
    void wake(bool notified);

    EventLoop& loop_;
    std::unique_ptr<Timer> limit_;
    std::coroutine_handle<> waiting_;
    bool notified_ = false;
};

class SessionRunner {
  public:
    // On a loop of its own, for a single calibrator.
    SessionRunner(HidLayer& hid, Pace pace, RunnerHooks hooks);
    // On a loop shared with other runners.
    SessionRunner(HidLayer& hid, EventLoop& loop, Pace pace, RunnerHooks hooks);
    ~SessionRunner();

    int DeviceCount() { return lcx_.DeviceCount(); }
    // Opens the calibrator with that number and waits briefly for it to connect.
    Task<bool> Open(int number);
    const Calibrator& Opened() const { return opened_; }
    // The calibrator was unplugged and is not back.
    bool Gone() const { return everConnected_ && !connected_; }

    // Each is false when the session timed out.
    Task<bool> ReadAll();
    Task<bool> WriteAll();
    Task<bool> ReadMeasure();
    Task<bool> SetOutput(TValueUnit unit, float value);
    // The output value as the calibrator holds it, into Params().OutputValue().
    Task<bool> ReadOutput();
    // Blocks of the last write-all that the calibrator acknowledged.
    int BlocksWritten() const { return blocksWritten_; }

    // Runs the loop until the task has ended: for callers that are no task.
    template <class T>
    T Wait(Task<T> task) {
        task.Start();
        loop_.RunUntil([&task] { return task.Done(); }, std::chrono::hours(24));
        return task.Result();
    }

    TLCX& Lcx() { return lcx_; }
    EventLoop& Loop() { return loop_; }

  private:
    SessionRunner(HidLayer& hid, std::unique_ptr<EventLoop> own, EventLoop* shared, Pace pace,
                  RunnerHooks hooks);
    Task<bool> run(std::function<void()> start);
    void settle(bool completed);
    void kick();  // fast pace: the next step now, the re-send a tick later

    std::unique_ptr<EventLoop> ownLoop_;  // first: the session's timer belongs to the loop
    EventLoop& loop_;
    TLCX lcx_;
    const Pace pace_;
    RunnerHooks hooks_;
    Waiter waiter_;
    bool connected_ = false;
    bool everConnected_ = false;
    bool transferring_ = false;
    bool completed_ = false;
    bool writingOutput_ = false;
    bool readingOutput_ = false;
    bool kickPending_ = false;
    int blocksWritten_ = 0;
    Calibrator opened_;
};

}  // namespace vadero::cli
