#include "transport/hidraw/ReportIo.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
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

        const short device = fds[0].revents;
        if (!(device & POLLIN)) {
            if (device & kHangUp)
                return {IoStatus::Gone, 0};
            continue;
        }
        // Reports queued before a hang-up are still delivered.
        const ssize_t n = ::read(deviceFd, target.data(), target.size());
        if (n > 0 || (n == 0 && !(device & kHangUp))) {
            return {IoStatus::Report, dest.empty() ? 0 : static_cast<std::size_t>(n)};
        }
        if (n == 0)
            return {IoStatus::Gone, 0};  // end of file after a hang-up
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
            continue;
        if (errno == ENODEV || errno == EIO)
            return {IoStatus::Gone, 0};
        return {IoStatus::Failed, 0};
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
