#pragma once
// Report lengths from a HID report descriptor, counted the way the HID class
// defines them: per report ID the bits of its Input (Output) main items,
// rounded up to bytes, plus the report-ID byte; the largest over the IDs.

#include <cstdint>
#include <optional>
#include <span>

namespace vadero {

struct ReportLengths {
    // 0 when the descriptor declares no report of that kind.
    int InputReportByteLength = 0;
    int OutputReportByteLength = 0;
    // The descriptor declares report IDs: the kernel then delivers each input
    // report with its ID byte in front, otherwise without one.
    bool NumberedReports = false;
};

// Reports larger than this (report-ID byte included) are refused.
inline constexpr int kMaxReportByteLength = 0xFFFF;

// Empty for a malformed descriptor: an item cut short, Report ID 0 or above
// 255, a Pop without Push, unbalanced collections, an oversized report.
std::optional<ReportLengths> ParseReportDescriptor(std::span<const std::uint8_t> descriptor);

}  // namespace vadero
