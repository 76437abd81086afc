#include "transport/hidraw/HidrawHandle.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <span>

#include "transport/hidraw/EventfdWake.h"
#include "transport/hidraw/ReportIo.h"
#include "transport/hidraw/SysfsText.h"
#include "transport/hidraw/Udev.h"

namespace vadero {
namespace {

// How often a read waiting with a wake of another layer looks at it.
constexpr std::chrono::milliseconds kForeignWakeSlice{10};

}  // namespace

HidrawHandle::HidrawHandle(std::shared_ptr<HidrawNodes> nodes, std::shared_ptr<HidrawNode> node)
    : nodes_(std::move(nodes)), node_(std::move(node)) {}

HidrawHandle::~HidrawHandle() {
    nodes_->release(node_);
}

std::optional<HidAttributes> HidrawHandle::attributes() {
    const auto hidId = HidIdProperty(node_->device);
    return hidId ? ParseHidId(*hidId) : std::nullopt;
}

std::optional<std::string> HidrawHandle::manufacturer() {
    return UsbDeviceString(node_->device, "manufacturer");
}

std::optional<std::string> HidrawHandle::product() {
    return UsbDeviceString(node_->device, "product");
}

std::optional<std::string> HidrawHandle::serialNumber() {
    return UsbDeviceString(node_->device, "serial");
}

std::optional<HidCaps> HidrawHandle::caps() {
    if (!node_->lengths)
        return std::nullopt;
    HidCaps caps;
    caps.InputReportByteLength = node_->lengths->InputReportByteLength;
    caps.OutputReportByteLength = node_->lengths->OutputReportByteLength;
    return caps;
}

int HidrawHandle::read(std::uint8_t* buffer, int length, HidWake& wake) {
    // From now on the node stays open between handles: reports arriving
    // before the next read wait in its queue.
    node_->read = true;
    const std::span<std::uint8_t> dest(buffer, static_cast<std::size_t>(std::max(length, 0)));
    const int fd = nodes_->descriptor(node_);
    if (fd < 0) {
        nodes_->forget(node_);
        return kFailed;
    }
    const bool numbered = node_->numberedReports();
    IoResult result;
    if (const auto* own = dynamic_cast<const EventfdWake*>(&wake)) {
        result = ReadInputReport(fd, own->fd(), numbered, dest);
    } else {
        do {
            if (wake.signalled())
                return kWoken;
            result = ReadInputReport(fd, -1, numbered, dest, kForeignWakeSlice);
        } while (result.status == IoStatus::TimedOut);
    }
    switch (result.status) {
        case IoStatus::Report:
            return static_cast<int>(result.count);
        case IoStatus::Woken:
            return kWoken;
        default:
            // Gone, or an error that a fresh open may cure.
            nodes_->forget(node_);
            return kFailed;
    }
}

int HidrawHandle::write(const std::uint8_t* data, int length) {
    if (length <= 0)
        return -1;
    const int fd = nodes_->descriptor(node_);
    if (fd < 0) {
        nodes_->forget(node_);
        return -1;
    }
    ssize_t written = 0;
    do {
        written = ::write(fd, data, static_cast<std::size_t>(length));
    } while (written < 0 && errno == EINTR);
    if (written < 0) {
        if (errno == ENODEV)
            nodes_->forget(node_);
        return -1;
    }
    return static_cast<int>(written);
}

}  // namespace vadero
