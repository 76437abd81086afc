#include "transport/hidraw/HidrawNodes.h"

#include <cerrno>

#include "transport/hidraw/ReportIo.h"

namespace vadero {

HidrawNodes::HidrawNodes(std::unique_ptr<NodeSource> source) : source_(std::move(source)) {}

std::shared_ptr<HidrawNode> HidrawNodes::acquire(const std::string& path, int& error) {
    // Under the lock: one node per path when two threads open a new path at once.
    const std::lock_guard lock(mutex_);
    const std::optional<dev_t> device = source_->identify(path, error);
    if (const auto it = nodes_.find(path); it != nodes_.end()) {
        Entry& entry = it->second;
        // A replugged device may get the same node number: its old
        // descriptor then reports a hang-up.
        const UniqueFd& fd = entry.node->fd_;
        if (device && *device == entry.node->device && !(fd && HasHungUp(fd.get()))) {
            ++entry.handles;
            return entry.node;
        }
        nodes_.erase(it);
    }
    if (!device)
        return nullptr;
    const std::optional<NodeSource::Probed> probed = source_->probe(path, error);
    if (!probed)
        return nullptr;
    if (probed->device != *device) {
        error = ENODEV;  // replaced by another device meanwhile
        return nullptr;
    }
    auto node = std::make_shared<HidrawNode>(path, probed->device, probed->lengths);
    nodes_[path] = Entry{node, 1};
    return node;
}

int HidrawNodes::descriptor(const std::shared_ptr<HidrawNode>& node) {
    // Under the lock: two handles reading at once get the one descriptor.
    const std::lock_guard lock(mutex_);
    if (!node->fd_)
        node->fd_ = source_->open(node->path, node->device);
    return node->fd_.get();
}

void HidrawNodes::release(const std::shared_ptr<HidrawNode>& node) {
    const std::lock_guard lock(mutex_);
    const auto it = nodes_.find(node->path);
    if (it == nodes_.end() || it->second.node != node)
        return;
    if (--it->second.handles == 0 && !node->read)
        nodes_.erase(it);
}

void HidrawNodes::forget(const std::shared_ptr<HidrawNode>& node) {
    const std::lock_guard lock(mutex_);
    const auto it = nodes_.find(node->path);
    if (it != nodes_.end() && it->second.node == node)
        nodes_.erase(it);
}

std::optional<dev_t> HidrawNodes::device(const std::string& path) const {
    int error = 0;
    return source_->identify(path, error);
}

bool HidrawNodes::holds(const std::string& path) const {
    const std::lock_guard lock(mutex_);
    return nodes_.contains(path);
}

}  // namespace vadero
