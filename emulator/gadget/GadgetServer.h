#pragma once
// One emulated LCX3 served over a HID gadget node, as the bridge chip serves
// a real USB host: the host's output reports go to the emulator as they
// arrive, and the emulator's input reports, empty ones included, go out on
// its report tick. A report the host has not fetched yet is held, and the
// chip's later reports wait inside the emulator, so a host that stops
// polling loses nothing. The calibrator is plugged in while a host has the
// function configured and unplugged (its bridge state lost) while none has.

#include <atomic>
#include <chrono>
#include <functional>

#include "emulator/Clock.h"
#include "emulator/EmulatedLcx3.h"
#include "emulator/gadget/GadgetNode.h"
#include "transport/UniqueFd.h"

namespace vadero::emu {

struct ServeOptions {
    // On the serving thread, whenever the bank differs from the one seen
    // last, before the next input report leaves: by the time the host reads
    // the answer to a write, the written bank has been handed over.
    std::function<void(const RegisterBank&)> bankChanged;
    // How often a detached node is tried again.
    std::chrono::milliseconds retryPause{10};
};

class GadgetServer {
  public:
    // `device` must run on `clock`, a real-time one.
    GadgetServer(EmulatedLcx3& device, EmuClock& clock, GadgetNode& node,
                 ServeOptions options = {});
    GadgetServer(const GadgetServer&) = delete;
    GadgetServer& operator=(const GadgetServer&) = delete;

    // Serves until `stopFd` becomes readable (true) or the node is gone for
    // good (false). Not reentrant.
    bool Run(int stopFd);

  private:
    void serveOutput(int stopFd, bool& stopped);
    void serveInput(HidWake& wake);
    // The bank handed to bankChanged when it changed since `seen`.
    void noteBank(RegisterBank& seen);
    // Sleeps up to `duration` unless the run ends.
    void pause(std::chrono::milliseconds duration);

    EmulatedLcx3& device_;
    EmuClock& clock_;
    GadgetNode& node_;
    const ServeOptions options_;
    const std::chrono::milliseconds tick_;
    UniqueFd quit_;  // readable once the run ends
    std::atomic<bool> quitting_{false};
};

}  // namespace vadero::emu
