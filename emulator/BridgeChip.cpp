#include "emulator/BridgeChip.h"

#include <algorithm>

namespace vadero::emu {

std::optional<OutputReport> ParseOutputReport(std::span<const std::uint8_t> report) {
    if (report.size() != kReportLength)
        return std::nullopt;
    OutputReport out;
    switch (report[1]) {
        case 0x00: {
            out.kind = OutputReport::Kind::Data;
            const int n = std::min(report[3] & 0x3F, kChunk);
            out.payload.assign(report.begin() + 5, report.begin() + 5 + n);
            break;
        }
        case 0x01:
            out.kind = OutputReport::Kind::Configuration;
            if (report[2] <= static_cast<std::uint8_t>(TPortFormat::_38400_8E1))
                out.format = static_cast<TPortFormat>(report[2]);
            out.options = report[3];
            break;
        default:
            break;
    }
    return out;
}

Report InputReport(std::span<const std::uint8_t> payload) {
    Report report{};
    const std::size_t n = std::min<std::size_t>(payload.size(), kChunk);
    report[3] = static_cast<std::uint8_t>(n);
    std::copy_n(payload.begin(), n, report.begin() + 5);
    return report;
}

std::vector<Report> InputReportsFor(std::span<const std::uint8_t> frame) {
    std::vector<Report> reports;
    for (std::size_t at = 0; at < frame.size(); at += kChunk)
        reports.push_back(
            InputReport(frame.subspan(at, std::min<std::size_t>(kChunk, frame.size() - at))));
    reports.push_back(InputReport({}));
    return reports;
}

TimePoint NextTick(TimePoint origin, Duration interval, TimePoint after) {
    if (interval <= Duration::zero())
        return after;
    if (after < origin)
        return origin;
    const auto ticks = (after - origin) / interval + 1;
    return origin + ticks * interval;
}

}  // namespace vadero::emu
