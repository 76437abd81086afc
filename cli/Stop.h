#pragma once
// Ending a watch cleanly: a stop that is asked for (Ctrl-C, SIGTERM, or a
// test) wakes every pause at once, and the work in progress still ends.

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "calibrator/EventLoop.h"
#include "cli/SessionRunner.h"

namespace vadero::cli {

class Stop {
  public:
    // On the loop's thread.
    void Request() {
        requested_ = true;
        for (Waiter* w : pauses_) w->Notify();
    }
    bool Requested() const { return requested_; }

    // A pause that a stop cuts short, for as long as this lives.
    class Pause {
      public:
        Pause(Stop& stop, Waiter& waiter) : stop_(stop), waiter_(waiter) {
            stop_.pauses_.push_back(&waiter_);
        }
        ~Pause() { std::erase(stop_.pauses_, &waiter_); }
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

      private:
        Stop& stop_;
        Waiter& waiter_;
    };

  private:
    bool requested_ = false;
    std::vector<Waiter*> pauses_;
};

// SIGINT and SIGTERM, taken by a thread of their own and handed to the loop
// as a stop. Made before any other thread, which inherits the blocked
// signals; undone when destroyed.
class StopSignals {
  public:
    StopSignals(EventLoop& loop, Stop& stop);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

  private:
    sigset_t previous_{};
    std::thread thread_;
};

}  // namespace vadero::cli
