#pragma once
// The time the soak runs on. Virtual: the emulator's virtual clock, the reader
// in manual mode driven pass by pass, so that thousands of transfers take
// seconds and every run of one seed is the same. Real: the emulator on the
// steady clock and the reader on its own thread, the owner queue pumped
// between the ticks. Either way the session's tick is fired from here.

#include <chrono>
#include <memory>

#include "calibrator/Timer.h"
#include "emulator/EmulatorHid.h"
#include "tests/support/ManualDispatcher.h"
#include "tests/support/ManualDrive.h"
#include "tests/support/ManualTimer.h"
#include "transport/Dispatcher.h"
#include "transport/USB.h"

namespace vadero::soak {

class Clockwork {
  public:
    explicit Clockwork(bool realTime);

    emu::EmulatorHid& Hid() { return hid_; }
    TimerFactory& Timers() { return timers_; }
    TransportEnv Env() {
        return {hid_, dispatcher_, realTime_ ? ReaderMode::Threaded : ReaderMode::Manual};
    }
    bool RealTime() const { return realTime_; }
    // The session's tick period as the soak paces it: its own 750 ms in
    // virtual time, shorter in real time so that a run stays short.
    std::chrono::milliseconds TickPeriod() const { return tick_; }

    void Fire() { timers_.Last()->Fire(); }
    // Lets the time pass, the reader's reports arriving and the owner queue
    // running, without a tick.
    void RunFor(TUSBThread* reader, std::chrono::milliseconds duration);
    std::chrono::steady_clock::time_point Now() const { return hid_.now(); }

  private:
    const bool realTime_;
    const std::chrono::milliseconds tick_;
    emu::EmulatorHid hid_;
    ManualDispatcher dispatcher_;
    ManualTimerFactory timers_;
    test::ManualDrive drive_;
};

}  // namespace vadero::soak
