#pragma once
// Runs the calibrator session on the loop, one transfer at a time, until it
// completes or times out. In fast pace the next step is sent as soon as an
// answer moved the session on; an unanswered step still waits a whole tick.

#include <chrono>
#include <functional>
#include <memory>

#include "calibrator/LCX.h"
#include "cli/EventLoop.h"

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

class SessionRunner {
  public:
    SessionRunner(HidLayer& hid, Pace pace, RunnerHooks hooks);
    ~SessionRunner();

    int DeviceCount() { return lcx_.DeviceCount(); }
    // Opens the calibrator with that number and waits briefly for it to connect.
    bool Open(int number);
    const Calibrator& Opened() const { return opened_; }

    // Each returns false when the session timed out.
    bool ReadAll();
    bool WriteAll();
    bool ReadMeasure();
    bool SetOutput(TValueUnit unit, float value);
    // Blocks of the last write-all that the calibrator acknowledged (of 3).
    int BlocksWritten() const { return blocksWritten_; }

    TLCX& Lcx() { return lcx_; }

  private:
    bool run(const std::function<void()>& start);
    void finish() { finished_ = true; }
    void kick();  // fast pace: the next step now, the re-send a tick later

    EventLoop loop_;  // first: the session's timer belongs to it
    TLCX lcx_;
    const Pace pace_;
    RunnerHooks hooks_;
    bool connected_ = false;
    bool finished_ = false;
    bool timedOut_ = false;
    bool writingOutput_ = false;
    bool kickPending_ = false;
    int blocksWritten_ = 0;
    Calibrator opened_;
};

}  // namespace vadero::cli
