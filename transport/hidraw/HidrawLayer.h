#pragma once
// The HID access layer on Linux: the kernel's hidraw nodes, found through
// libudev. Paths are the device nodes, "/dev/hidrawN".

#include <memory>

#include "transport/HidLayer.h"
#include "transport/OpenErrors.h"
#include "transport/hidraw/HidrawNodes.h"

namespace vadero {

class HidrawLayer : public HidLayer {
  public:
    HidrawLayer();
    // With a stand-in for the kernel's nodes.
    explicit HidrawLayer(std::unique_ptr<NodeSource> source);

    // udev lists present devices only, so includeRegistered changes nothing;
    // the order is the node number.
    std::vector<std::string> enumerate(bool includeRegistered) override;
    std::unique_ptr<HidHandle> open(const std::string& path) override;
    // The strerror text of the errno that refused the path's last open.
    std::string openError(const std::string& path) const override;
    // HID_ID of the node's parent hid device, through libudev.
    std::optional<HidAttributes> identify(const std::string& path) override;
    std::unique_ptr<HidWake> makeWake() override;
    void pause(std::chrono::milliseconds duration, HidWake& wake) override;

    // The path's node is held open (for tests).
    bool holds(const std::string& path) const { return nodes_->holds(path); }

  private:
    std::shared_ptr<HidrawNodes> nodes_;
    OpenErrors openErrors_;
};

}  // namespace vadero
