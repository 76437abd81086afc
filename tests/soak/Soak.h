#pragma once
// The soak's driver: one session against one emulated LCX3, transfers of
// every kind one after the other, each under faults drawn from a seed, each
// followed by a quiet spell in which late answers land and by the checks of
// Invariants.h.

#include <chrono>
#include <cstdint>

#include "calibrator/LCX.h"
#include "emulator/Faults.h"
#include "tests/soak/Clockwork.h"
#include "tests/soak/Invariants.h"
#include "tests/soak/Tally.h"

namespace vadero::soak {

// The faults one transfer runs under.
struct Plan {
    enum class Cut { None, Unplug, Power };
    emu::Faults faults;
    Cut cut = Cut::None;
    std::chrono::milliseconds cutAt{0};   // after the transfer's start
    std::chrono::milliseconds cutFor{0};  // until plugged or powered again
};

// Three transfers in ten run clean; the others draw shares of corrupted,
// dropped and duplicated answers, some an extra delay beyond the next tick
// (up to well after the time-out), some an unplug or a power cut.
Plan DrawPlan(emu::FaultDice& dice, std::chrono::milliseconds tick);

class Soak {
  public:
    Soak(Clockwork& clock, std::uint64_t seed);
    Soak(const Soak&) = delete;
    Soak& operator=(const Soak&) = delete;

    // Opens the calibrator and waits until the reader found it.
    bool Open();
    void RunTransfer(std::uint64_t number);
    const Tally& Figures() const { return tally_; }

  private:
    // What the session's events told about the running transfer.
    struct Record {
        Kind kind = Kind::ReadAll;
        bool ended = false;  // by its completion or its time-out
        int completions = 0;
        int timeOuts = 0;
        bool idleAtEnd = true;
        Words imageAtCompletion{};
        Words deviceAtCompletion{};
        Counts writesAtCompletion{};
        std::int16_t measureAtCompletion = 0;
    };

    void installHandlers();
    void completed(Kind kind);
    void stray(const std::string& what);
    Kind drawKind();
    std::uint16_t drawWord(int k);
    void varyCalibrator();
    void varyImage();
    void start(Kind kind);
    // Ticks until the transfer ends (or a bound of ticks passes), cutting and
    // restoring the calibrator as planned; returns whether the cut happened.
    bool runTicks(const Plan& plan);
    void cut(const Plan& plan, bool on);

    Words image() const;
    Words device() const;
    Counts writes() const;
    void report(const Findings& findings);

    Clockwork& clock_;
    emu::EmulatedLcx3& calibrator_;
    TLCX lcx_;
    emu::FaultDice dice_;
    Tally tally_;
    Record record_;
    std::uint64_t number_ = 0;
    bool connected_ = false;
};

}  // namespace vadero::soak
