#pragma once
// Faults the emulated calibrator can put on its answers, decided by a seeded
// generator so that a run with faults can be repeated exactly.

#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "emulator/Clock.h"

namespace vadero::emu {

struct Faults {
    Duration extraDelay{0};     // slow answers: added to the turnaround
    double corruptShare = 0;    // answers with one bit flipped (their CRC fails)
    double dropShare = 0;       // answers never sent
    double duplicateShare = 0;  // answers sent twice, as two frames
};

// The line's faults a fault's name stands for (lcx3 --emulator-fault,
// lcx3-emulator --fault): "noisy" corrupts a fifth of the answers, "slow"
// delays each by 600 ms, "late:MS" by MS ms (every send of a request is
// answered, each that late); any other name leaves the line clean.
Faults LineFaultsNamed(const std::string& name);

// The delay "late:MS" names, MS from 1 to kMaxLateMs; nothing for any other name.
inline constexpr int kMaxLateMs = 5000;
std::optional<std::chrono::milliseconds> LateFaultDelay(const std::string& name);

class FaultDice {
  public:
    explicit FaultDice(std::uint64_t seed = 1) : engine_(seed) {}
    void Reseed(std::uint64_t seed) { engine_.seed(seed); }
    // Uniform in [0, 1), the same sequence on every platform for one seed.
    double Next();
    std::uint64_t Below(std::uint64_t bound);  // uniform in [0, bound)

  private:
    std::mt19937_64 engine_;
};

struct Afflicted {
    std::vector<std::vector<std::uint8_t>> frames;  // what goes on the line: 0, 1 or 2 copies
    bool dropped = false;
    bool corrupted = false;
    bool duplicated = false;
};

// Every answer rolls the dice three times (drop, corrupt, duplicate), plus
// twice for the bit to flip when corrupted, whatever the shares are.
Afflicted ApplyFaults(const Faults& faults, FaultDice& dice, std::vector<std::uint8_t> answer);

}  // namespace vadero::emu
