#include "emulator/gadget/GadgetReports.h"

#include <algorithm>

namespace vadero::emu {

namespace {

static_assert(kGadgetReportLength == 64, "the descriptor below declares 64-byte reports");

constexpr std::array<std::uint8_t, 25> kDescriptor{
    0x06, 0x00, 0xFF,  // Usage Page (vendor-defined 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x40,        //   Report Count (64)
    0x09, 0x01,        //   Usage (1)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0x09, 0x01,        //   Usage (1)
    0x91, 0x02,        //   Output (Data, Variable, Absolute), the same size and count
    0xC0,              // End Collection
};

}  // namespace

std::span<const std::uint8_t> GadgetReportDescriptor() {
    return kDescriptor;
}

std::vector<std::uint8_t> FromGadget(std::span<const std::uint8_t> received) {
    std::vector<std::uint8_t> report;
    report.reserve(received.size() + 1);
    report.push_back(0);
    report.insert(report.end(), received.begin(), received.end());
    return report;
}

GadgetReport ToGadget(const Report& report) {
    GadgetReport out{};
    std::copy(report.begin() + 1, report.end(), out.begin());
    return out;
}

}  // namespace vadero::emu
