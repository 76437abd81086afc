#include "transport/hidraw/Udev.h"

#include <fcntl.h>
#include <libudev.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <memory>

#include "transport/UniqueFd.h"
#include "transport/hidraw/SysfsText.h"

namespace vadero {
namespace {

struct UdevUnref {
    void operator()(udev* p) const { udev_unref(p); }
    void operator()(udev_device* p) const { udev_device_unref(p); }
    void operator()(udev_enumerate* p) const { udev_enumerate_unref(p); }
};
using Udev = std::unique_ptr<udev, UdevUnref>;
using UdevDevice = std::unique_ptr<udev_device, UdevUnref>;
using UdevEnumerate = std::unique_ptr<udev_enumerate, UdevUnref>;

UdevDevice DeviceOfNode(udev* context, dev_t node) {
    return UdevDevice(udev_device_new_from_devnum(context, 'c', node));
}

// The whole file; empty when it is missing or cannot be read.
std::optional<std::string> ReadFile(const std::string& path) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd)
        return std::nullopt;
    std::string contents;
    std::array<char, 4096> chunk;
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk.data(), chunk.size());
        if (n == 0)
            return contents;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        contents.append(chunk.data(), static_cast<std::size_t>(n));
    }
}

}  // namespace

std::vector<std::string> ListHidrawNodes() {
    std::vector<std::string> paths;
    const Udev context(udev_new());
    if (!context)
        return paths;
    const UdevEnumerate enumerate(udev_enumerate_new(context.get()));
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), "hidraw") < 0 ||
        udev_enumerate_scan_devices(enumerate.get()) < 0) {
        return paths;
    }
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
        const UdevDevice device(
            udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
        if (!device)
            continue;
        if (const char* node = udev_device_get_devnode(device.get()))
            paths.emplace_back(node);
    }
    SortHidrawPaths(paths);
    return paths;
}

std::optional<std::string> HidIdProperty(dev_t node) {
    const Udev context(udev_new());
    if (!context)
        return std::nullopt;
    const UdevDevice device = DeviceOfNode(context.get(), node);
    if (!device)
        return std::nullopt;
    // The parent belongs to the child: no unref.
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device.get(), "hid", nullptr);
    if (!hid)
        return std::nullopt;
    const char* value = udev_device_get_property_value(hid, "HID_ID");
    if (!value)
        return std::nullopt;
    return std::string(value);
}

std::optional<std::string> UsbDeviceString(dev_t node, const char* attribute) {
    const Udev context(udev_new());
    if (!context)
        return std::nullopt;
    const UdevDevice device = DeviceOfNode(context.get(), node);
    if (!device)
        return std::nullopt;
    udev_device* usb =
        udev_device_get_parent_with_subsystem_devtype(device.get(), "usb", "usb_device");
    if (!usb)
        return std::nullopt;
    const char* syspath = udev_device_get_syspath(usb);
    if (!syspath)
        return std::nullopt;
    // Read directly: udev_device_get_sysattr_value drops every trailing
    // newline and carriage return, the kernel appends exactly one newline.
    const auto contents = ReadFile(std::string(syspath) + "/" + attribute);
    if (!contents)
        return std::nullopt;
    return StripSysfsNewline(*contents);
}

}  // namespace vadero
