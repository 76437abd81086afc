#pragma once
// The calibrator's registers: holding registers 0 to 71 (the parameter set
// and the calibration block) and the input registers (the measurement first).

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "calibrator/RegisterMap.h"
#include "modbus/RegisterImage.h"

namespace vadero::emu {

inline constexpr int kHoldingCount = kRegisterCount;
// As many as a master's image holds.
inline constexpr std::size_t kMaxInputCount = std::tuple_size_v<RegisterImage>;

struct RegisterBank {
    std::array<std::uint16_t, kHoldingCount> holding{};
    // Holding registers the calibrator keeps unchanged when a request writes
    // them (it still acknowledges the write): a calibrator that refuses values.
    std::array<bool, kHoldingCount> stuck{};
    // Input register 0 is the measured input as set from outside; at least one.
    std::vector<std::uint16_t> input = std::vector<std::uint16_t>(1, 0);

    bool operator==(const RegisterBank&) const = default;
};

// A plausible parameter set as the calibrator leaves the factory.
RegisterBank FactoryBank();

// What input register `address` reads: the measured input in the measuring
// ranges, the output value being generated in the others (register 0 only).
std::uint16_t InputValue(const RegisterBank& bank, std::size_t address);

}  // namespace vadero::emu
