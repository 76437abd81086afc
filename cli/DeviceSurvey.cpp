#include "cli/DeviceSurvey.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace vadero::cli {

namespace {

constexpr std::uint16_t kVendor = 0x0451;
constexpr std::uint16_t kProduct = 0x0026;
constexpr const char* kManufacturer = "Norvelectrics";
constexpr const char* kProductText = "HID-LCX3  ";

// HID_ID=bus:vendor:product of the node's parent hid device.
bool SysfsHasCalibratorIds(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::ifstream uevent("/sys/class/hidraw/" + name + "/device/uevent");
    std::string line;
    while (std::getline(uevent, line)) {
        if (line.rfind("HID_ID=", 0) != 0)
            continue;
        unsigned bus = 0, vendor = 0, product = 0;
        if (std::sscanf(line.c_str() + 7, "%x:%x:%x", &bus, &vendor, &product) != 3)
            return false;
        return vendor == kVendor && product == kProduct;
    }
    return false;
}

std::string WhyNotOpened(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
        ::close(fd);
        return "the device did not answer its identity";
    }
    const int error = errno;
    std::string reason = std::strerror(error);
    if (error == EACCES || error == EPERM)
        reason +=
            " (install the udev rule that grants access to 0451:0026, TAG+=\"uaccess\", "
            "then unplug and replug the calibrator)";
    return reason;
}

}  // namespace

Survey SurveyDevices(HidLayer& hid, bool hidraw) {
    Survey survey;
    for (const std::string& path : hid.enumerate(false)) {
        const auto handle = hid.open(path);
        if (!handle) {
            if (hidraw && SysfsHasCalibratorIds(path))
                survey.blocked.push_back({path, WhyNotOpened(path)});
            continue;
        }
        const auto ids = handle->attributes();
        if (!ids || ids->VendorID != kVendor || ids->ProductID != kProduct)
            continue;
        const auto manufacturer = handle->manufacturer();
        const auto product = handle->product();
        if (manufacturer.value_or("") != kManufacturer || product.value_or("") != kProductText)
            continue;
        survey.matching.push_back({int(survey.matching.size()) + 1, *manufacturer, *product,
                                   handle->serialNumber().value_or(""), path});
    }
    return survey;
}

}  // namespace vadero::cli
