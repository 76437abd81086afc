#include "emulator/Faults.h"

#include <string_view>

namespace vadero::emu {

Faults LineFaultsNamed(const std::string& name) {
    using namespace std::chrono_literals;
    Faults faults;
    if (name == "noisy")
        faults.corruptShare = 0.2;
    if (name == "slow")
        faults.extraDelay = 600ms;
    if (const auto late = LateFaultDelay(name))
        faults.extraDelay = *late;
    return faults;
}

std::optional<std::chrono::milliseconds> LateFaultDelay(const std::string& name) {
    constexpr std::string_view kPrefix = "late:";
    if (name.rfind(kPrefix, 0) != 0)
        return std::nullopt;
    const std::string digits = name.substr(kPrefix.size());
    if (digits.empty() || digits.size() > 4 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int ms = std::stoi(digits);
    if (ms < 1 || ms > kMaxLateMs)
        return std::nullopt;
    return std::chrono::milliseconds(ms);
}

double FaultDice::Next() {
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

std::uint64_t FaultDice::Below(std::uint64_t bound) {
    return bound == 0 ? 0 : static_cast<std::uint64_t>(Next() * static_cast<double>(bound));
}

Afflicted ApplyFaults(const Faults& faults, FaultDice& dice, std::vector<std::uint8_t> answer) {
    Afflicted out;
    const double drop = dice.Next();
    const double corrupt = dice.Next();
    const double duplicate = dice.Next();
    if (drop < faults.dropShare) {
        out.dropped = true;
        return out;
    }
    if (corrupt < faults.corruptShare && !answer.empty()) {
        const auto byte = dice.Below(answer.size());
        const auto bit = dice.Below(8);
        answer[byte] ^= static_cast<std::uint8_t>(1U << bit);
        out.corrupted = true;
    }
    out.duplicated = duplicate < faults.duplicateShare;
    if (out.duplicated)
        out.frames.push_back(answer);
    out.frames.push_back(std::move(answer));
    return out;
}

}  // namespace vadero::emu
