#pragma once
// One emulated LCX3 behind its bridge chip, driven by time: output reports
// put bytes on the serial line, the calibrator answers complete requests
// after its turnaround, and the answers wait in the chip until input reports
// carry them. Not thread-safe: EmulatedLcx3 wraps it with a lock and a clock.

#include <deque>

#include "emulator/BridgeChip.h"
#include "emulator/Faults.h"
#include "emulator/ModbusSlave.h"
#include "emulator/RegisterBank.h"
#include "emulator/SerialLine.h"

namespace vadero::emu {

struct DeviceStats {
    std::uint64_t requests = 0;  // complete frames the powered calibrator heard
    std::uint64_t answers = 0;   // answers its slave produced (before faults)
    std::uint64_t dropped = 0;
    std::uint64_t corrupted = 0;
    std::uint64_t duplicated = 0;
    std::uint64_t dataReports = 0;  // output reports taken by the chip
    std::uint64_t configurationReports = 0;
};

// How many times requests wrote each holding register.
using WriteCounts = std::array<std::uint32_t, kHoldingCount>;

class DeviceCore {
  public:
    explicit DeviceCore(RegisterBank bank) : bank_(std::move(bank)) {}

    // Everything below first moves the device's time to `at` (never back).
    void Advance(TimePoint to);
    void TakeOutputReport(TimePoint at, const OutputReport& report);
    // The input report of the tick at `at`: the next one the chip holds, or an empty one.
    Report NextInputReport(TimePoint at);

    // The chip loses its state and configuration; the calibrator keeps its registers.
    void Unplugged();
    void SetPowered(bool powered);
    bool Powered() const { return powered_; }

    RegisterBank& Bank() { return bank_; }
    const RegisterBank& Bank() const { return bank_; }
    std::uint32_t WriteCount(int address) const;
    const WriteCounts& AllWriteCounts() const { return writes_; }
    void ResetWriteCounts() { writes_.fill(0); }

    Faults faults;
    Duration turnaround{std::chrono::milliseconds(3)};
    FaultDice& Dice() { return dice_; }
    TPortFormat LineFormat() const { return format_; }
    std::uint8_t LineOptions() const { return options_; }
    const DeviceStats& Stats() const { return stats_; }

  private:
    struct Pending {
        TimePoint complete;  // the last byte has reached the chip
        Bytes frame;
    };
    void answer(TimePoint heard, Bytes request);

    RegisterBank bank_;
    WriteCounts writes_{};
    bool powered_ = true;
    TPortFormat format_ = TPortFormat::_9600_8N2;
    std::uint8_t options_ = 0;
    LineReceiver line_;
    std::deque<Pending> answers_;  // in order of completion
    TimePoint answerLineFree_{};
    std::deque<Report> reports_;  // ready for the host
    TimePoint now_{};
    FaultDice dice_;
    DeviceStats stats_;
};

}  // namespace vadero::emu
