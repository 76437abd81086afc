#pragma once
// The soak's figures: transfers, faults injected and outcomes, by kind, and
// the invariant violations with the first few of them in words.

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "tests/soak/Invariants.h"

namespace vadero::soak {

struct FaultCounts {
    std::uint64_t corrupted = 0;   // answers with a bit flipped
    std::uint64_t dropped = 0;     // answers never sent
    std::uint64_t duplicated = 0;  // answers sent twice
    std::uint64_t late = 0;        // answers held back beyond the next tick
    std::uint64_t unplugs = 0;     // unplugged and plugged again within a transfer
    std::uint64_t powerCuts = 0;   // powered off and on again within a transfer
};

struct Tally {
    std::array<std::uint64_t, kKinds> transfers{};
    std::array<std::uint64_t, kKinds> completions{};
    std::array<std::uint64_t, kKinds> timeOuts{};
    std::uint64_t lateEvents = 0;  // events of answers that came after the time-out
    std::uint64_t revived = 0;     // read-alls a late answer moved on after their time-out
    FaultCounts faults;
    std::uint64_t violations = 0;
    std::vector<std::string> firstViolations;  // the first few, with their transfer

    void Violation(std::uint64_t transfer, Kind kind, const std::string& text);
    std::uint64_t Transfers() const;
    void Print(std::ostream& out, double seconds) const;
};

}  // namespace vadero::soak
