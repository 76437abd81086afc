#include "cli/LineInput.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

namespace vadero::cli {

LineInput::LineInput(EventLoop& loop, Stop& stop, int fd)
    : loop_(loop),
      stop_(stop),
      arrived_(loop),
      wake_(::eventfd(0, EFD_CLOEXEC)),
      thread_([this, fd] { read(fd); }) {}

LineInput::~LineInput() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake_.get(), &one, sizeof one);
    thread_.join();
}

void LineInput::read(int fd) {
    std::string pending;
    std::array<pollfd, 2> watched{{{fd, POLLIN, 0}, {wake_.get(), POLLIN, 0}}};
    for (;;) {
        if (::poll(watched.data(), watched.size(), -1) < 0 && errno != EINTR)
            break;
        if (watched[1].revents != 0)
            return;
        if (watched[0].revents == 0)
            continue;
        char chunk[256];
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        pending.append(chunk, std::size_t(n));
        for (auto newline = pending.find('\n'); newline != std::string::npos;
             newline = pending.find('\n')) {
            loop_.post([this, line = pending.substr(0, newline)] {
                lines_.push_back(line);
                arrived_.Notify();
            });
            pending.erase(0, newline + 1);
        }
    }
    loop_.post([this] {
        ended_ = true;
        arrived_.Notify();
    });
}

Task<std::optional<std::string>> LineInput::Next() {
    const Stop::Pause cutShort(stop_, arrived_);
    while (lines_.empty() && !ended_ && !stop_.Requested())
        co_await arrived_.Until(std::chrono::hours(24));
    if (stop_.Requested() || lines_.empty())
        co_return std::nullopt;
    std::string line = std::move(lines_.front());
    lines_.pop_front();
    co_return line;
}

}  // namespace vadero::cli
