#pragma once
// The hidraw nodes the layer holds. The kernel queues input reports per
// open file and stops polling the device when its last file closes, so a
// node is kept open across the reader's passes: every open of its path
// shares the one descriptor, and no report arriving between two passes is
// lost. The descriptor is opened by the first read or write only: usbhid
// sleeps 50 ms in every first open of a device, and enumeration and the
// identity strings (every node, several times a scan) need no descriptor.
// A node is let go when its device is found gone, or when its last handle
// closes and no one has read from it.

#include <sys/types.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "transport/UniqueFd.h"
#include "transport/hidraw/ReportDescriptor.h"

namespace vadero {

struct HidrawNode {
    HidrawNode(std::string path, dev_t device, std::optional<ReportLengths> lengths)
        : path(std::move(path)), device(device), lengths(lengths) {}

    const std::string path;
    const dev_t device;
    const std::optional<ReportLengths> lengths;  // empty: descriptor unreadable
    std::atomic<bool> read{false};               // someone has read through it

    bool numberedReports() const { return lengths && lengths->NumberedReports; }

  private:
    friend class HidrawNodes;
    UniqueFd fd_;  // non-blocking, read and write; set once, by HidrawNodes
};

// How nodes are looked at and opened; the system's or a test's stand-in.
class NodeSource {
  public:
    struct Probed {
        dev_t device = 0;
        std::optional<ReportLengths> lengths;
    };
    virtual ~NodeSource() = default;
    // When empty, `error` says why, as an errno value (the one stat(2) or
    // access(2) gave, or ENODEV for a path that is no hidraw node).
    //
    // The device number the path names now; empty when there is none.
    virtual std::optional<dev_t> identify(const std::string& path, int& error) = 0;
    // What the node is, without opening it; empty when the path is no hidraw
    // node or the caller may not read and write it.
    virtual std::optional<Probed> probe(const std::string& path, int& error) = 0;
    // The node opened non-blocking for reading and writing, when it still is
    // `device`; an empty descriptor otherwise.
    virtual UniqueFd open(const std::string& path, dev_t device) = 0;
};

// Thread-safe: the reader thread and the owner thread open paths at once.
class HidrawNodes {
  public:
    explicit HidrawNodes(std::unique_ptr<NodeSource> source);

    // The held node when it still is the device the path names and shows no
    // hang-up, otherwise a fresh one; nullptr when the path is no hidraw node
    // or may not be opened, with `error` the errno value that says why.
    std::shared_ptr<HidrawNode> acquire(const std::string& path, int& error);
    // The device number the path names now (none when it names no device).
    std::optional<dev_t> device(const std::string& path) const;
    // The node's descriptor, opened now when it is not yet; -1 when it
    // cannot be (the device went meanwhile).
    int descriptor(const std::shared_ptr<HidrawNode>& node);
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
