#include "transport/hidraw/HidrawLayer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "transport/hidraw/EventfdWake.h"
#include "transport/hidraw/HidrawHandle.h"
#include "transport/hidraw/ReportIo.h"
#include "transport/hidraw/SysfsText.h"
#include "transport/hidraw/SystemNodeSource.h"
#include "transport/hidraw/Udev.h"

namespace vadero {
namespace {

constexpr std::chrono::milliseconds kForeignWakeSlice{10};

}  // namespace

HidrawLayer::HidrawLayer() : HidrawLayer(std::make_unique<SystemNodeSource>()) {}

HidrawLayer::HidrawLayer(std::unique_ptr<NodeSource> source)
    : nodes_(std::make_shared<HidrawNodes>(std::move(source))) {}

std::vector<std::string> HidrawLayer::enumerate(bool /*includeRegistered*/) {
    return ListHidrawNodes();
}

std::unique_ptr<HidHandle> HidrawLayer::open(const std::string& path) {
    if (path.empty())
        return nullptr;
    int error = 0;
    auto node = nodes_->acquire(path, error);
    if (!node) {
        openErrors_.record(path, std::strerror(error != 0 ? error : ENODEV));
        return nullptr;
    }
    openErrors_.record(path, {});
    return std::make_unique<HidrawHandle>(nodes_, std::move(node));
}

std::string HidrawLayer::openError(const std::string& path) const {
    return openErrors_.of(path);
}

std::optional<HidAttributes> HidrawLayer::identify(const std::string& path) {
    const std::optional<dev_t> device = nodes_->device(path);
    if (!device)
        return std::nullopt;
    const auto hidId = HidIdProperty(*device);
    return hidId ? ParseHidId(*hidId) : std::nullopt;
}

std::unique_ptr<HidWake> HidrawLayer::makeWake() {
    return std::make_unique<EventfdWake>();
}

void HidrawLayer::pause(std::chrono::milliseconds duration, HidWake& wake) {
    if (const auto* own = dynamic_cast<const EventfdWake*>(&wake)) {
        WaitReadable(own->fd(), duration);
        return;
    }
    const auto deadline = now() + duration;
    while (!wake.signalled() && now() < deadline)
        std::this_thread::sleep_until(std::min(deadline, now() + kForeignWakeSlice));
}

}  // namespace vadero
