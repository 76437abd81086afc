#pragma once
// The LCX3 calibrator's identity, written once: what its USB interface says
// (vendor and product id, manufacturer and product strings) and its Modbus
// slave number. The transport, the emulator, the gadget, lcx3 and the tests
// take them from here; CMake reads this file to write the udev rule (keep
// each value on its own line, in this form).

#include <cstdint>
#include <string_view>

namespace vadero::lcx3 {

inline constexpr std::uint16_t kVendorId = 0x0451;
inline constexpr std::uint16_t kProductId = 0x0026;
inline constexpr std::string_view kManufacturer = "Norvelectrics";
inline constexpr std::string_view kProduct = "HID-LCX3  ";  // two trailing blanks
inline constexpr std::uint8_t kSlave = 100;

}  // namespace vadero::lcx3
