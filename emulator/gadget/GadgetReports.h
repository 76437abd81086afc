#pragma once
// The emulated bridge behind a USB HID gadget function: the report
// descriptor the function presents (vendor-defined, 64-byte input and output
// reports, no report IDs) and the reports as the gadget node carries them,
// that is without the report-ID byte the emulator's reports start with.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "emulator/BridgeChip.h"

namespace vadero::emu {

inline constexpr int kGadgetReportLength = kReportLength - 1;
using GadgetReport = std::array<std::uint8_t, kGadgetReportLength>;

// What the function's report_desc attribute takes.
std::span<const std::uint8_t> GadgetReportDescriptor();

// An output report as the emulator takes it: report ID 0, then the bytes the
// node delivered (a wrong length stays wrong, and the bridge ignores it).
std::vector<std::uint8_t> FromGadget(std::span<const std::uint8_t> received);

// The bytes of an input report that the node sends: all but the report ID.
GadgetReport ToGadget(const Report& report);

}  // namespace vadero::emu
