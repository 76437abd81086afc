#include "tests/soak/Tally.h"

#include <iomanip>
#include <numeric>

namespace vadero::soak {

namespace {
constexpr std::size_t kShownViolations = 20;
}

void Tally::Violation(std::uint64_t transfer, Kind kind, const std::string& text) {
    ++violations;
    if (firstViolations.size() < kShownViolations)
        firstViolations.push_back("transfer " + std::to_string(transfer) + " (" + KindName(kind) +
                                  "): " + text);
}

std::uint64_t Tally::Transfers() const {
    return std::accumulate(transfers.begin(), transfers.end(), std::uint64_t{0});
}

void Tally::Print(std::ostream& out, double seconds) const {
    out << "transfers " << Transfers() << " in " << std::fixed << std::setprecision(1) << seconds
        << " s\n";
    out << "  kind          transfers  completions  time-outs\n";
    for (int k = 0; k < kKinds; ++k) {
        const auto i = static_cast<std::size_t>(k);
        out << "  " << std::left << std::setw(12) << KindName(static_cast<Kind>(k)) << std::right
            << std::setw(11) << transfers[i] << std::setw(13) << completions[i] << std::setw(11)
            << timeOuts[i] << "\n";
    }
    const auto sum = [](const std::array<std::uint64_t, kKinds>& a) {
        return std::accumulate(a.begin(), a.end(), std::uint64_t{0});
    };
    out << "  all         " << std::setw(11) << Transfers() << std::setw(13) << sum(completions)
        << std::setw(11) << sum(timeOuts) << "\n";
    out << "faults injected: corrupted " << faults.corrupted << ", dropped " << faults.dropped
        << ", duplicated " << faults.duplicated << ", late " << faults.late << ", unplugs "
        << faults.unplugs << ", power cuts " << faults.powerCuts << "\n";
    out << "after a time-out: " << lateEvents << " events of late answers, " << revived
        << " read-alls moved on\n";
    out << "invariant violations " << violations << "\n";
    for (const auto& v : firstViolations) out << "  " << v << "\n";
}

}  // namespace vadero::soak
