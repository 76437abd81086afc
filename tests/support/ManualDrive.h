#pragma once
// Drives a reader in ReaderMode::Manual on a layer whose clock moves only
// with the passes (the emulator's virtual time, the fake layer's virtual
// time), and pumps the owner thread's queue after every pass, so that the
// events arrive in order and nothing sleeps.

#include <chrono>
#include <functional>
#include <memory>

#include "tests/support/ManualDispatcher.h"
#include "transport/USB.h"

namespace vadero::test {

class ManualDrive {
  public:
    ManualDrive(HidLayer& hid, ManualDispatcher& dispatcher);

    // Runs passes until the layer's clock has moved by `duration`. A paused,
    // ended or missing reader runs nothing; the time passes all the same.
    void RunFor(TUSBThread* reader, std::chrono::milliseconds duration);
    // The same for a reader that what a pump runs may free (the window
    // closing its device): asked for again before every pass.
    void RunFor(const std::function<TUSBThread*()>& reader, std::chrono::milliseconds duration);
    // Runs passes until `done` holds (checked after each pump) or the clock
    // has moved by `limit`; true when done.
    bool RunUntil(TUSBThread* reader, const std::function<bool()>& done,
                  std::chrono::milliseconds limit);
    int Pump() { return dispatcher_.pump(); }

  private:
    // One pass (or a pause), then the pump; the clock always moves.
    void step(TUSBThread* reader, std::chrono::steady_clock::time_point deadline);

    HidLayer& hid_;
    ManualDispatcher& dispatcher_;
    std::unique_ptr<HidWake> wake_;
};

// With a real reader thread: pumps the owner queue until `done` holds or the
// time-out passes, waiting for posted work in between; true when done.
bool PumpUntil(ManualDispatcher& dispatcher, const std::function<bool()>& done,
               std::chrono::milliseconds timeout);

}  // namespace vadero::test
