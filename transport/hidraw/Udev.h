#pragma once
// What libudev and sysfs know about hidraw nodes. Each call makes its own
// udev context: libudev objects must stay on the thread that made them.

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace vadero {

// Device nodes of the subsystem "hidraw" present now, by node number.
std::vector<std::string> ListHidrawNodes();

// The HID_ID property of the "hid" device above the hidraw node `node`.
std::optional<std::string> HidIdProperty(dev_t node);

// A string attribute ("manufacturer", "product", "serial") of the USB device
// above the hidraw node, read from sysfs byte for byte; empty when the
// device has none or is no USB device.
std::optional<std::string> UsbDeviceString(dev_t node, const char* attribute);

}  // namespace vadero
