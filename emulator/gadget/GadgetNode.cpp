#include "emulator/gadget/GadgetNode.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>

namespace vadero::emu {

namespace {

using Clock = std::chrono::steady_clock;

// Larger than any report: a short read would split a report in two.
constexpr std::size_t kReceiveLimit = 4096;

// A descriptor that cannot work at all, as opposed to a host that is away.
bool Broken(int error) {
    return error == EBADF || error == EINVAL || error == EFAULT;
}

}  // namespace

UniqueFd GadgetNode::OpenPath(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (!fd)
        throw std::system_error(errno, std::generic_category(), path);
    return fd;
}

GadgetNode::Sent GadgetNode::Send(std::span<const std::uint8_t> report) {
    for (;;) {
        if (::write(fd_.get(), report.data(), report.size()) >= 0)
            return Sent::Taken;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return Sent::Busy;
        // ESHUTDOWN from the gadget before the host configured it or once it
        // is unbound; EPIPE and the like from a stand-in.
        return Sent::Detached;
    }
}

GadgetNode::Received GadgetNode::Receive(std::vector<std::uint8_t>& report) {
    std::array<std::uint8_t, kReceiveLimit> buffer;
    for (;;) {
        const ssize_t n = ::read(fd_.get(), buffer.data(), buffer.size());
        if (n > 0) {
            report.assign(buffer.begin(), buffer.begin() + n);
            return Received::Report;
        }
        if (n == 0)
            return Received::Closed;  // a gadget node never ends; a stand-in's peer left
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return Received::Nothing;
        return Broken(errno) ? Received::Closed : Received::Detached;
    }
}

Woken WaitFor(int fd, short events, int stopFd, std::chrono::milliseconds timeout) {
    const bool forever = timeout.count() < 0;
    const auto deadline = Clock::now() + std::max(timeout, std::chrono::milliseconds{0});
    for (;;) {
        int wait = -1;
        if (!forever) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            wait = static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
        }
        std::array<pollfd, 2> fds{{{stopFd, POLLIN, 0}, {fd, events, 0}}};
        const int ready = ::poll(fds.data(), fds.size(), wait);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return Woken::Stop;  // poll itself failing leaves nothing to wait on
        }
        if (ready == 0)
            return Woken::TimedOut;
        if (fds[0].revents != 0)
            return Woken::Stop;
        // An error or hang-up is "ready" too: the next read or write tells.
        return Woken::Ready;
    }
}

}  // namespace vadero::emu
