#pragma once
// The kernel's hidraw nodes as a NodeSource: stat and access on the node, the
// report descriptor from sysfs, open only when asked to.

#include <string>

#include "transport/hidraw/HidrawNodes.h"

namespace vadero {

class SystemNodeSource : public NodeSource {
  public:
    // `sysfs` is where sysfs is mounted (another tree for tests).
    explicit SystemNodeSource(std::string sysfs = "/sys") : sysfs_(std::move(sysfs)) {}

    std::optional<dev_t> identify(const std::string& path, int& error) override;
    std::optional<Probed> probe(const std::string& path, int& error) override;
    UniqueFd open(const std::string& path, dev_t device) override;

  private:
    const std::string sysfs_;
};

}  // namespace vadero
