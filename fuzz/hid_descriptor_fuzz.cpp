// Feeds arbitrary bytes to the report descriptor parser: it must never read
// past the buffer, and what it accepts must be a sane pair of lengths.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "transport/hidraw/ReportDescriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto lengths = vadero::ParseReportDescriptor(std::span<const std::uint8_t>(data, size));
    if (lengths) {
        for (const int length : {lengths->InputReportByteLength, lengths->OutputReportByteLength}) {
            // 0 (no such report) or the report-ID byte plus the report.
            if (length < 0 || length > vadero::kMaxReportByteLength)
                std::abort();
        }
    }
    return 0;
}
