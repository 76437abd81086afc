#include "transport/hidraw/HidrawNodes.h"

#include "transport/hidraw/ReportIo.h"

namespace vadero {

HidrawNodes::HidrawNodes(std::unique_ptr<NodeSource> source) : source_(std::move(source)) {}

std::shared_ptr<HidrawNode> HidrawNodes::acquire(const std::string& path) {
    // Opening under the lock keeps one descriptor per path when two threads
    // open a new path at once; opening a hidraw node is quick.
    const std::lock_guard lock(mutex_);
    const std::optional<dev_t> device = source_->identify(path);
    if (const auto it = nodes_.find(path); it != nodes_.end()) {
        Entry& entry = it->second;
        // A replugged device may get the same node number: its old
        // descriptor then reports a hang-up.
        if (device && *device == entry.node->device && !HasHungUp(entry.node->fd.get())) {
            ++entry.handles;
            return entry.node;
        }
        nodes_.erase(it);
    }
    if (!device) return nullptr;
    std::optional<NodeSource::Opened> opened = source_->open(path);
    if (!opened) return nullptr;
    auto node = std::make_shared<HidrawNode>(path, std::move(opened->fd), opened->device,
                                             opened->lengths);
    nodes_[path] = Entry{node, 1};
    return node;
}

void HidrawNodes::release(const std::shared_ptr<HidrawNode>& node) {
    const std::lock_guard lock(mutex_);
    const auto it = nodes_.find(node->path);
    if (it == nodes_.end() || it->second.node != node) return;
    if (--it->second.handles == 0 && !node->read) nodes_.erase(it);
}

void HidrawNodes::forget(const std::shared_ptr<HidrawNode>& node) {
    const std::lock_guard lock(mutex_);
    const auto it = nodes_.find(node->path);
    if (it != nodes_.end() && it->second.node == node) nodes_.erase(it);
}

bool HidrawNodes::holds(const std::string& path) const {
    const std::lock_guard lock(mutex_);
    return nodes_.contains(path);
}

}  // namespace vadero
