#pragma once
// Which calibrators the HID layer shows: those that the calibrator's device
// component lists and matches (numbered as --device counts), and those with
// the calibrator's ids that cannot be opened, with the layer's reason.

#include <string>
#include <vector>

#include "transport/HidLayer.h"

namespace vadero::cli {

struct FoundDevice {
    int number = 0;  // 1-based, as --device counts
    std::string manufacturer, product, serial, path;
};

struct BlockedDevice {
    std::string path;
    std::string reason;
};

struct Survey {
    std::vector<FoundDevice> matching;
    std::vector<BlockedDevice> blocked;
};

Survey SurveyDevices(HidLayer& hid);

// A failed open's reason as lcx3 shows it: the layer's text, with the hint
// about the udev rule when access was refused.
std::string Explained(const std::string& reason);

}  // namespace vadero::cli
