#pragma once
// The kernel's hidraw nodes as a NodeSource: stat, open and the report
// descriptor ioctls.

#include "transport/hidraw/HidrawNodes.h"

namespace vadero {

class SystemNodeSource : public NodeSource {
public:
    std::optional<dev_t> identify(const std::string& path) override;
    std::optional<Opened> open(const std::string& path) override;
};

}  // namespace vadero
