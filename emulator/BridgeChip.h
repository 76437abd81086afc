#pragma once
// The bridge chip's reports as the USB side sees them, 65 bytes with the
// report ID first:
//   output data:    00 | 00 00 len 00 | payload (len & 0x3F, at most 60)
//   configuration:  00 | 01 format options 00 | zeros
//   input:          00 | 00 00 len 00 | payload (len at most 60; 0 = none)

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "emulator/Clock.h"
#include "transport/Types.h"

namespace vadero::emu {

inline constexpr int kReportLength = 65;
inline constexpr int kChunk = 60;
using Report = std::array<std::uint8_t, kReportLength>;

struct OutputReport {
    enum class Kind { Data, Configuration, Other };
    Kind kind = Kind::Other;
    std::vector<std::uint8_t> payload;  // Data
    std::optional<TPortFormat> format;  // Configuration; empty for an unknown format byte
    std::uint8_t options = 0;           // Configuration
};

// Empty for a report of the wrong length.
std::optional<OutputReport> ParseOutputReport(std::span<const std::uint8_t> report);

Report InputReport(std::span<const std::uint8_t> payload);  // at most 60 bytes
// A frame as the chip returns it: chunks of 60 bytes at most, then an empty report.
std::vector<Report> InputReportsFor(std::span<const std::uint8_t> frame);

// The first report tick origin + k × interval strictly after `after`.
TimePoint NextTick(TimePoint origin, Duration interval, TimePoint after);

}  // namespace vadero::emu
