#pragma once
// The HID layer a run talks through: the kernel's hidraw nodes, or emulated
// calibrators whose state may live in a file between runs.

#include <memory>
#include <string>

#include "cli/Options.h"
#include "emulator/EmulatorHid.h"
#include "emulator/StateFile.h"
#include "transport/HidLayer.h"

namespace vadero::cli {

class Backend {
  public:
    // Throws UsageError for a state file that cannot be loaded.
    explicit Backend(const Options& options);
    // A layer of the caller's (tests: devices that go away at a chosen
    // moment, or refuse to open).
    explicit Backend(std::unique_ptr<HidLayer> hid) : hid_(std::move(hid)) {}
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;

    HidLayer& Hid() { return *hid_; }
    // Saves the addressed emulated calibrator's bank to the state file, if any;
    // false (with a message on stderr) when it cannot be written.
    bool SaveState() const;

  private:
    std::unique_ptr<HidLayer> hid_;
    emu::EmulatorHid* emulator_ = nullptr;
    std::unique_ptr<emu::StateFile> state_;  // of the device addressed
};

}  // namespace vadero::cli
