#pragma once
// One emulated LCX3 as tests, the demo and the command-line tool control it.
// Every operation is thread-safe; the HID side (the layer's handles) and the
// controlling side may run on different threads.

#include <memory>
#include <mutex>
#include <string>

#include "emulator/DeviceCore.h"
#include "transport/HidLayer.h"
#include "transport/Identity.h"

namespace vadero::emu {

struct DeviceOptions {
    std::string manufacturer{lcx3::kManufacturer};
    std::string product{lcx3::kProduct};
    std::string serial{};  // empty: made from the device number, "LCX3-0001" ...
    HidAttributes attributes{lcx3::kVendorId, lcx3::kProductId};
    Duration reportInterval{std::chrono::milliseconds(4)};  // above zero
    Duration turnaround{std::chrono::milliseconds(3)};
    RegisterBank bank = FactoryBank();
    bool plugged = true;
    bool powered = true;
};

class EmulatedLcx3 {
  public:
    // Throws std::invalid_argument for a report interval that is not above zero.
    EmulatedLcx3(EmuClock& clock, std::string path, DeviceOptions options);
    EmulatedLcx3(const EmulatedLcx3&) = delete;
    EmulatedLcx3& operator=(const EmulatedLcx3&) = delete;

    const std::string& Path() const { return path_; }
    const DeviceOptions& Identity() const { return identity_; }  // as constructed

    // Unplugging ends every open handle; the calibrator keeps its registers.
    void Plug();
    void Unplug();
    bool Plugged() const;
    // Powered off, the bridge is still there but the calibrator answers nothing.
    void PowerOn();
    void PowerOff();
    bool Powered() const;

    // The measured input in raw counts (input register 0 in the measuring ranges).
    void SetMeasuredInput(std::int16_t raw);
    std::int16_t MeasuredInput() const;
    // Registers as they stand; setting them from here counts as no write.
    std::uint16_t Holding(int address) const;  // throws std::out_of_range
    void SetHolding(int address, std::uint16_t value);
    std::uint16_t Input(int address) const;  // as function 4 reads it
    RegisterBank Bank() const;
    void SetBank(const RegisterBank& bank);
    // Holding registers written by requests (functions 6 and 16) since the start.
    std::uint32_t WriteCount(int address) const;
    WriteCounts AllWriteCounts() const;  // of every register at one moment
    void ResetWriteCounts();
    // Throw BankFileError; a file that is refused leaves the bank as it was.
    void LoadBank(const std::string& path);
    void SaveBank(const std::string& path) const;

    void SetFaults(const Faults& faults);
    Faults CurrentFaults() const;
    void SetSeed(std::uint64_t seed);
    void SetTurnaround(Duration turnaround);
    TPortFormat LineFormat() const;  // as the last configuration report set it
    std::uint8_t LineOptions() const;
    DeviceStats Stats() const;

    // The HID side. A handle belongs to one plug-in (its generation); once
    // the device is unplugged, its reads and writes fail.
    std::uint64_t Generation() const;
    bool Present(std::uint64_t generation) const;
    // Waits for the next report tick (or moves the virtual time there) and
    // returns that input report: kFailed when gone, kWoken when woken.
    int Read(std::uint64_t generation, std::uint8_t* buffer, int length, HidWake& wake);
    int Write(std::uint64_t generation, const std::uint8_t* data, int length);

  private:
    bool presentLocked(std::uint64_t generation) const {
        return plugged_ && generation == generation_;
    }
    // The device's time caught up with the clock, lock held.
    DeviceCore& synced() const;

    EmuClock& clock_;
    const std::string path_;
    const DeviceOptions identity_;
    const TimePoint origin_;
    const Duration interval_;

    mutable std::mutex mutex_;
    mutable DeviceCore core_;
    bool plugged_;
    std::uint64_t generation_ = 1;
    TimePoint lastTick_{};
};

}  // namespace vadero::emu
