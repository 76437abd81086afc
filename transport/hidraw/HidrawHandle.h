#pragma once
// One open of a hidraw node, sharing the node's descriptor with every other
// open of the same path.

#include <memory>

#include "transport/HidLayer.h"
#include "transport/hidraw/HidrawNodes.h"

namespace vadero {

class HidrawHandle : public HidHandle {
  public:
    HidrawHandle(std::shared_ptr<HidrawNodes> nodes, std::shared_ptr<HidrawNode> node);
    ~HidrawHandle() override;
    HidrawHandle(const HidrawHandle&) = delete;
    HidrawHandle& operator=(const HidrawHandle&) = delete;

    std::optional<HidAttributes> attributes() override;
    std::optional<std::string> manufacturer() override;
    std::optional<std::string> product() override;
    std::optional<std::string> serialNumber() override;
    std::optional<HidCaps> caps() override;
    // A device without report IDs gets a 0 in front of each report.
    int read(std::uint8_t* buffer, int length, HidWake& wake) override;
    // Passed through unchanged: hidraw takes the report ID byte first, 0 for
    // a device without report IDs, and counts it in the bytes written.
    int write(const std::uint8_t* data, int length) override;

  private:
    const std::shared_ptr<HidrawNodes> nodes_;
    const std::shared_ptr<HidrawNode> node_;
};

}  // namespace vadero
