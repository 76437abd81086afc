#pragma once
// Which calibrators the HID layer shows: those that match (in the transport's
// order) and those with the calibrator's ids that cannot be opened.

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

// With hidraw, nodes that do not open are looked up in sysfs for their ids.
Survey SurveyDevices(HidLayer& hid, bool hidraw);

}  // namespace vadero::cli
