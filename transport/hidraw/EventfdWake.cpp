#include "transport/hidraw/EventfdWake.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace vadero {

EventfdWake::EventfdWake() : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (!fd_)
        throw std::system_error(errno, std::generic_category(), "eventfd");
}

void EventfdWake::signal() {
    const std::uint64_t one = 1;
    // Fails only when the counter is already huge: then it is signalled.
    while (::write(fd_.get(), &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void EventfdWake::clear() {
    std::uint64_t count = 0;
    while (::read(fd_.get(), &count, sizeof count) < 0 && errno == EINTR) {
    }
}

bool EventfdWake::signalled() const {
    pollfd entry{fd_.get(), POLLIN, 0};
    while (::poll(&entry, 1, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return (entry.revents & POLLIN) != 0;
}

}  // namespace vadero
