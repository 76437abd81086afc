#pragma once
// The hidraw nodes the layer holds open. The kernel queues input reports per
// open file and stops polling the device when its last file closes, so a
// node is kept open across the reader's passes: every open of its path
// shares the one descriptor, and no report arriving between two passes is
// lost. A node is let go when its device is found gone, or when its last
// handle closes and no one has read from it (enumeration, identity strings).

#include <sys/types.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "transport/hidraw/ReportDescriptor.h"
#include "transport/hidraw/UniqueFd.h"

namespace vadero {

struct HidrawNode {
    HidrawNode(std::string path, UniqueFd fd, dev_t device, std::optional<ReportLengths> lengths)
        : path(std::move(path)), fd(std::move(fd)), device(device), lengths(lengths) {}

    const std::string path;
    const UniqueFd fd;  // non-blocking, read and write
    const dev_t device;
    const std::optional<ReportLengths> lengths;  // empty: descriptor unreadable
    std::atomic<bool> read{false};               // someone has read through it

    bool numberedReports() const { return lengths && lengths->NumberedReports; }
};

// How nodes are looked at and opened; the system's or a test's stand-in.
class NodeSource {
public:
    struct Opened {
        UniqueFd fd;
        dev_t device = 0;
        std::optional<ReportLengths> lengths;
    };
    virtual ~NodeSource() = default;
    // The device number the path names now; empty when there is none.
    virtual std::optional<dev_t> identify(const std::string& path) = 0;
    // Empty when the path cannot be opened or is no hidraw node.
    virtual std::optional<Opened> open(const std::string& path) = 0;
};

// Thread-safe: the reader thread and the owner thread open paths at once.
class HidrawNodes {
public:
    explicit HidrawNodes(std::unique_ptr<NodeSource> source);

    // The held node when it still is the device the path names and shows no
    // hang-up, otherwise a freshly opened one; nullptr when it cannot open.
    std::shared_ptr<HidrawNode> acquire(const std::string& path);
    // A handle on the node closed.
    void release(const std::shared_ptr<HidrawNode>& node);
    // The node's device is gone: the next acquire opens the path again. The
    // descriptor closes with the last handle that still holds the node.
    void forget(const std::shared_ptr<HidrawNode>& node);

    bool holds(const std::string& path) const;

private:
    struct Entry {
        std::shared_ptr<HidrawNode> node;
        int handles = 0;
    };

    const std::unique_ptr<NodeSource> source_;
    mutable std::mutex mutex_;
    std::map<std::string, Entry> nodes_;
};

}  // namespace vadero
