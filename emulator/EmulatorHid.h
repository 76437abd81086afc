#pragma once
// The HID access layer backend of the emulated calibrators: devices live in
// this process under the paths "emulator:1", "emulator:2", ...; the layer's
// clock is the real one or a virtual one that tests move by hand.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "emulator/Clock.h"
#include "emulator/EmulatedLcx3.h"
#include "transport/HidLayer.h"
#include "transport/OpenErrors.h"

namespace vadero::emu {

class EmulatorHid : public HidLayer {
  public:
    using Time = EmuClock::Kind;
    static constexpr const char* kPathPrefix = "emulator:";

    explicit EmulatorHid(Time time = Time::Real) : clock_(time) {}

    // A new device at "emulator:N", N counting from 1; it stays for the
    // layer's life (unplug it to make it go away).
    EmulatedLcx3& AddDevice(DeviceOptions options = {});
    EmulatedLcx3& Device(int number);             // 1-based; throws std::out_of_range
    EmulatedLcx3* Find(const std::string& path);  // nullptr for another path
    int DeviceCount() const;

    EmuClock& Clock() { return clock_; }
    // Virtual time only: lets the time pass without a read.
    void Advance(Duration duration) { clock_.advance(duration); }

    std::vector<std::string> enumerate(bool includeRegistered) override;
    std::unique_ptr<HidHandle> open(const std::string& path) override;
    // As the kernel would say: no such file for a path with no device, no
    // such device for one unplugged.
    std::string openError(const std::string& path) const override;
    // The device's ids while it is plugged in.
    std::optional<HidAttributes> identify(const std::string& path) override;
    std::unique_ptr<HidWake> makeWake() override { return clock_.makeWake(); }
    void pause(std::chrono::milliseconds duration, HidWake& wake) override;
    std::chrono::steady_clock::time_point now() const override { return clock_.now(); }

  private:
    std::shared_ptr<EmulatedLcx3> find(const std::string& path) const;

    EmuClock clock_;
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<EmulatedLcx3>> devices_;
    OpenErrors openErrors_;
};

}  // namespace vadero::emu
