#pragma once
// What the calibrator's registers hold, in the window's words: each
// parameter among a run of holding registers with its value in the
// calibrator's terms ("gamme 1 (Génére 4-20mA)", "valeur générée 12.000 mA"),
// and the measurement of input register 0. Pure functions; numbers in the
// locale's way, as the pages show them.

#include <QString>
#include <cstdint>
#include <span>
#include <vector>

namespace vadero {

// One parameter: its first register, how many it spans, and what it says.
struct RegisterItem {
    int address = 0;
    int count = 1;
    QString text;
};

inline constexpr int kRangeUnknown = -1;

// Holding registers first, first + 1, ... holding `values`. Values in a unit
// of the range are read in the run's own range register when it holds it,
// otherwise in `range` (kRangeUnknown: shown raw). A float whose other half is
// outside the run is shown as its word.
std::vector<RegisterItem> HoldingMeaning(int first, std::span<const std::uint16_t> values,
                                         int range);
// The items joined by ", ".
QString JoinedMeaning(const std::vector<RegisterItem>& items);

// Input register 0 in `range`: "mesure 12.000 mA", "mesure Dep+", raw when unknown.
QString MeasureMeaning(std::uint16_t raw, int range);

}  // namespace vadero
