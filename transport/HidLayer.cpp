#include "transport/HidLayer.h"

namespace vadero {

std::array<std::uint8_t, 16> HidLayer::interfaceClassId() const {
    // The HID device interface class {4D1E55B2-F16F-11CF-88CB-001111000030}.
    return {0xB2, 0x55, 0x1E, 0x4D, 0x6F, 0xF1, 0xCF, 0x11,
            0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30};
}

std::string HidLayer::openError(const std::string& /*path*/) const {
    return {};
}

std::optional<HidAttributes> HidLayer::identify(const std::string& /*path*/) {
    return std::nullopt;
}

std::chrono::steady_clock::time_point HidLayer::now() const {
    return std::chrono::steady_clock::now();
}

}  // namespace vadero
