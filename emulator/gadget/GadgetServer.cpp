#include "emulator/gadget/GadgetServer.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <system_error>
#include <thread>

#include "emulator/gadget/GadgetReports.h"

namespace vadero::emu {

namespace {

std::chrono::milliseconds TickOf(const EmulatedLcx3& device) {
    const auto tick =
        std::chrono::ceil<std::chrono::milliseconds>(device.Identity().reportInterval);
    return std::max(tick, std::chrono::milliseconds{1});
}

UniqueFd MakeEventfd() {
    UniqueFd fd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (!fd)
        throw std::system_error(errno, std::generic_category(), "eventfd");
    return fd;
}

}  // namespace

GadgetServer::GadgetServer(EmulatedLcx3& device, EmuClock& clock, GadgetNode& node,
                           ServeOptions options)
    : device_(device),
      clock_(clock),
      node_(node),
      options_(std::move(options)),
      tick_(TickOf(device)),
      quit_(MakeEventfd()) {}

bool GadgetServer::Run(int stopFd) {
    quitting_ = false;
    std::uint64_t count = 0;
    while (::read(quit_.get(), &count, sizeof count) > 0) {
    }
    const auto wake = clock_.makeWake();
    std::thread input([this, &wake] { serveInput(*wake); });
    bool stopped = false;
    serveOutput(stopFd, stopped);

    quitting_ = true;
    const std::uint64_t one = 1;
    while (::write(quit_.get(), &one, sizeof one) < 0 && errno == EINTR) {
    }
    wake->signal();
    input.join();
    return stopped;
}

void GadgetServer::serveOutput(int stopFd, bool& stopped) {
    std::vector<std::uint8_t> received;
    for (;;) {
        if (WaitFor(node_.Fd(), POLLIN, stopFd, std::chrono::milliseconds{-1}) == Woken::Stop) {
            stopped = true;
            return;
        }
        switch (node_.Receive(received)) {
            case GadgetNode::Received::Report: {
                const auto report = FromGadget(received);
                // Refused while unplugged or for a wrong length, as the chip would.
                device_.Write(device_.Generation(), report.data(), static_cast<int>(report.size()));
                break;
            }
            case GadgetNode::Received::Nothing:
                break;
            case GadgetNode::Received::Detached:
                if (WaitFor(-1, 0, stopFd, options_.retryPause) == Woken::Stop) {
                    stopped = true;
                    return;
                }
                break;
            case GadgetNode::Received::Closed:
                return;
        }
    }
}

void GadgetServer::serveInput(HidWake& wake) {
    bool attached = false;
    std::uint64_t generation = 0;
    std::optional<GadgetReport> held;
    RegisterBank seen = device_.Bank();
    const GadgetReport probe = ToGadget(InputReport({}));
    while (!quitting_) {
        if (!attached) {
            // An empty report, as the chip sends when it has nothing: taken
            // (or still queued) means a host has the function configured.
            if (node_.Send(probe) == GadgetNode::Sent::Detached) {
                pause(options_.retryPause);
                continue;
            }
            device_.Plug();
            generation = device_.Generation();
            attached = true;
            continue;
        }
        if (!held) {
            Report report{};
            const int n = device_.Read(generation, report.data(), kReportLength, wake);
            if (n == HidHandle::kWoken)
                continue;
            if (n < 0) {  // unplugged from the controlling side
                attached = false;
                continue;
            }
            noteBank(seen);
            held = ToGadget(report);
        }
        switch (node_.Send(*held)) {
            case GadgetNode::Sent::Taken:
                held.reset();
                break;
            case GadgetNode::Sent::Busy:
                WaitFor(node_.Fd(), POLLOUT, quit_.get(), tick_);
                break;
            case GadgetNode::Sent::Detached:
                device_.Unplug();
                attached = false;
                held.reset();
                break;
        }
    }
}

void GadgetServer::noteBank(RegisterBank& seen) {
    RegisterBank now = device_.Bank();
    if (now == seen)
        return;
    seen = std::move(now);
    if (options_.bankChanged)
        options_.bankChanged(seen);
}

void GadgetServer::pause(std::chrono::milliseconds duration) {
    WaitFor(-1, 0, quit_.get(), duration);
}

}  // namespace vadero::emu
