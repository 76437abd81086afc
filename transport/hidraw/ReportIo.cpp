#include "transport/hidraw/ReportIo.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <thread>

namespace vadero {
namespace {

using Clock = std::chrono::steady_clock;

constexpr short kHangUp = POLLERR | POLLHUP | POLLNVAL;

// Milliseconds left until the deadline for poll(), -1 for no deadline.
int RemainingMs(bool forever, Clock::time_point deadline) {
    if (forever)
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

// One read of a device that poll() found ready (its revents); nullopt: poll again.
std::optional<IoResult> ReadReady(int deviceFd, std::span<std::uint8_t> target, bool counted,
                                  short revents) {
    if (!(revents & POLLIN)) {
        if (revents & kHangUp)
            return IoResult{IoStatus::Gone, 0};
        return std::nullopt;
    }
    // Reports queued before a hang-up are still delivered.
    const ssize_t n = ::read(deviceFd, target.data(), target.size());
    if (n > 0 || (n == 0 && !(revents & kHangUp)))
        return IoResult{IoStatus::Report, counted ? static_cast<std::size_t>(n) : 0};
    if (n == 0)
        return IoResult{IoStatus::Gone, 0};  // end of file after a hang-up
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        return std::nullopt;
    if (errno == ENODEV || errno == EIO)
        return IoResult{IoStatus::Gone, 0};
    return IoResult{IoStatus::Failed, 0};
}

}  // namespace

IoResult ReadReport(int deviceFd, int wakeFd, std::span<std::uint8_t> dest,
                    std::chrono::milliseconds timeout) {
    // hidraw drops a report read with a count of 0 and goes on to the next
    // one, so an empty destination still reads one byte.
    std::array<std::uint8_t, 1> scratch{};
    const std::span<std::uint8_t> target = dest.empty() ? std::span(scratch) : dest;
    const bool forever = timeout.count() < 0;
    const auto deadline = Clock::now() + (forever ? std::chrono::milliseconds{0} : timeout);

    for (;;) {
        std::array<pollfd, 2> fds{{{deviceFd, POLLIN, 0}, {wakeFd, POLLIN, 0}}};
        const int ready = ::poll(fds.data(), fds.size(), RemainingMs(forever, deadline));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return {IoStatus::Failed, 0};
        }
        if (ready == 0)
            return {IoStatus::TimedOut, 0};
        if (fds[1].revents & POLLIN)
            return {IoStatus::Woken, 0};
        if (fds[1].revents & kHangUp)
            return {IoStatus::Failed, 0};  // a closed wake cannot wake

        if (const auto result = ReadReady(deviceFd, target, !dest.empty(), fds[0].revents))
            return *result;
    }
}

IoResult ReadInputReport(int deviceFd, int wakeFd, bool numberedReports,
                         std::span<std::uint8_t> dest, std::chrono::milliseconds timeout) {
    if (numberedReports || dest.empty())
        return ReadReport(deviceFd, wakeFd, dest, timeout);
    IoResult result = ReadReport(deviceFd, wakeFd, dest.subspan(1), timeout);
    if (result.status == IoStatus::Report) {
        dest[0] = 0;
        result.count += 1;
    }
    return result;
}

bool HasHungUp(int fd) {
    pollfd entry{fd, POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&entry, 1, 0);
    } while (ready < 0 && errno == EINTR);
    return ready < 0 || (entry.revents & kHangUp) != 0;
}

bool WaitReadable(int wakeFd, std::chrono::milliseconds duration) {
    const auto deadline = Clock::now() + std::max(duration, std::chrono::milliseconds{0});
    for (;;) {
        pollfd entry{wakeFd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, RemainingMs(false, deadline));
        if (ready == 0)
            return false;
        if (ready > 0 && (entry.revents & POLLIN))
            return true;
        if (ready < 0 && errno == EINTR)
            continue;
        // A broken wake still waits the duration: callers pace retries by it.
        std::this_thread::sleep_until(deadline);
        return false;
    }
}

}  // namespace vadero
