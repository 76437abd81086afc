#pragma once
// A HID gadget function's device node (/dev/hidgN) as the serving loop uses
// it: the host's output reports are read from it and input reports written
// to it, one report per read or write, never blocking. Anything that keeps
// packet boundaries, such as a SOCK_SEQPACKET socket, can stand in for it.

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "transport/UniqueFd.h"

namespace vadero::emu {

class GadgetNode {
  public:
    enum class Sent {
        Taken,    // queued for the host
        Busy,     // the host has not fetched the previous report yet
        Detached  // no host has the function configured (unplugged, unbound)
    };
    enum class Received {
        Report,
        Nothing,   // no report waiting
        Detached,  // the node refuses reads while no host is attached
        Closed     // the node is gone for good
    };

    // Takes a descriptor that is already non-blocking.
    explicit GadgetNode(UniqueFd fd) : fd_(std::move(fd)) {}
    virtual ~GadgetNode() = default;
    GadgetNode(const GadgetNode&) = delete;
    GadgetNode& operator=(const GadgetNode&) = delete;

    // Throws std::system_error when the path cannot be opened.
    static UniqueFd OpenPath(const std::string& path);

    virtual Sent Send(std::span<const std::uint8_t> report);
    // The report replaces what `report` held (Report only).
    virtual Received Receive(std::vector<std::uint8_t>& report);

    int Fd() const { return fd_.get(); }

  private:
    UniqueFd fd_;
};

enum class Woken { Ready, Stop, TimedOut };

// Waits until `fd` shows `events` (POLLIN, POLLOUT) or `stopFd` is readable,
// at most `timeout` (negative: for ever). A pending stop wins.
Woken WaitFor(int fd, short events, int stopFd, std::chrono::milliseconds timeout);

}  // namespace vadero::emu
