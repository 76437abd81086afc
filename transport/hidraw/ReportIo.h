#pragma once
// The waiting and reading on file descriptors behind a hidraw handle, kept
// apart from the node so that a pipe or a socket can stand in for a device.

#include <chrono>
#include <cstdint>
#include <span>

namespace vadero {

enum class IoStatus {
    Report,    // one report was read
    Woken,     // the wake descriptor became readable first
    Gone,      // hang-up or error on the device: it has been removed
    Failed,    // another error; the device may still be there
    TimedOut,  // only with a timeout
};

struct IoResult {
    IoStatus status = IoStatus::Failed;
    std::size_t count = 0;  // bytes of the report (Report only)
};

// Waits until deviceFd delivers one report or wakeFd (ignored when negative)
// is readable, then reads the report into dest, cut to dest's size; the rest
// of a longer report is discarded, as hidraw and packet sockets do. A pending
// wake wins over a pending report, which then stays queued. deviceFd should
// be non-blocking: a report another reader took first is waited for again.
// A negative timeout waits for ever.
IoResult ReadReport(int deviceFd, int wakeFd, std::span<std::uint8_t> dest,
                    std::chrono::milliseconds timeout = std::chrono::milliseconds{-1});

// One input report in the transport's layout, report ID byte first. A device
// without report IDs delivers the bare report, so a 0 is put in front.
IoResult ReadInputReport(int deviceFd, int wakeFd, bool numberedReports,
                         std::span<std::uint8_t> dest,
                         std::chrono::milliseconds timeout = std::chrono::milliseconds{-1});

// True when the descriptor reports a hang-up or an error right now.
bool HasHungUp(int fd);

// Waits up to duration for wakeFd to become readable; true when it did.
bool WaitReadable(int wakeFd, std::chrono::milliseconds duration);

}  // namespace vadero
