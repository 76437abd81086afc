#pragma once
// Pure helpers for what sysfs and udev tell about a hidraw node.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "transport/HidLayer.h"

namespace vadero {

// The ids of a uevent HID_ID value "bus:vendor:product" (hex fields, e.g.
// "0003:00000451:00000026"); empty when malformed or an id exceeds 16 bits.
std::optional<HidAttributes> ParseHidId(std::string_view value);

// A sysfs attribute's contents without the one newline the kernel appends.
// Everything else stays, trailing blanks included ("HID-LCX3  ").
std::string StripSysfsNewline(std::string_view contents);

// N of a path "/dev/hidrawN"; empty for any other path.
std::optional<unsigned> HidrawNodeNumber(std::string_view path);

// Sorted by node number (hidraw2 before hidraw10); other paths last, by name.
void SortHidrawPaths(std::vector<std::string>& paths);

}  // namespace vadero
