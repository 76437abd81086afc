// lcx3-emulator's serving loop against a packet socket pair standing in for
// the gadget node /dev/hidg0: the host side of the pair plays the USB host.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "emulator/gadget/GadgetReports.h"
#include "emulator/gadget/GadgetServer.h"
#include "transport/hidraw/ReportDescriptor.h"

namespace vadero::emu {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kBound = 2s;  // generous bound for real threads
const Bytes kRead12{0x64, 0x03, 0x00, 0x00, 0x00, 0x0C, 0x4C, 0x3A};

// Reading 40 holding registers: an answer of 85 bytes, two input reports.
Bytes Read40() {
    return WithCrc({kSlaveAddress, 0x03, 0x00, 0x00, 0x00, 40});
}

Bytes WriteSingle(std::uint8_t address, std::uint16_t value) {
    return WithCrc({kSlaveAddress, 0x06, 0x00, address, static_cast<std::uint8_t>(value >> 8),
                    static_cast<std::uint8_t>(value & 0xFF)});
}

bool Eventually(const std::function<bool()>& condition) {
    const auto deadline = Clock::now() + kBound;
    while (!condition()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// The node whose host can be unplugged: sends are refused the way the
// kernel refuses them while the function is not configured.
class PluggableNode : public GadgetNode {
  public:
    using GadgetNode::GadgetNode;
    Sent Send(std::span<const std::uint8_t> report) override {
        return attached ? GadgetNode::Send(report) : Sent::Detached;
    }
    std::atomic<bool> attached{true};
};

struct Pair {
    Pair() {
        std::array<int, 2> fds{};
        EXPECT_EQ(
            ::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds.data()), 0);
        host.reset(fds[0]);
        gadget.reset(fds[1]);
        // A short queue, as the gadget's one report in flight: a host that
        // does not poll soon makes the server wait.
        const int smallest = 1;
        ::setsockopt(fds[1], SOL_SOCKET, SO_SNDBUF, &smallest, sizeof smallest);
    }
    UniqueFd host;
    UniqueFd gadget;
};

// A data output report as the host's hidraw write reaches the gadget: the
// report ID is gone, the chip's 4 header bytes come first.
Bytes DataReport(const Bytes& payload) {
    Bytes report(kGadgetReportLength, 0);
    report[2] = static_cast<std::uint8_t>(payload.size());
    std::copy(payload.begin(), payload.end(), report.begin() + 4);
    return report;
}

// One emulated calibrator served on its own thread, and the host end.
struct Served {
    explicit Served(ServeOptions options = {}, DeviceOptions identity = {})
        : device(clock, "gadget", std::move(identity)),
          node(std::move(pair.gadget)),
          stop(::eventfd(0, EFD_CLOEXEC)),
          server(device, clock, node, std::move(options)),
          runner([this] {
              stopped = server.Run(stop.get());
              ended = true;
          }) {}
    ~Served() {
        if (runner.joinable())
            Stop();
    }
    // True when the run ended because of the stop.
    bool Stop() {
        const std::uint64_t one = 1;
        EXPECT_EQ(::write(stop.get(), &one, sizeof one), 8);
        runner.join();
        return stopped;
    }

    void Send(const Bytes& report) const {
        ASSERT_EQ(::write(pair.host.get(), report.data(), report.size()),
                  static_cast<ssize_t>(report.size()));
    }
    // The next input report the host polls, waiting up to `wait`.
    std::optional<Bytes> Poll(std::chrono::milliseconds wait = kBound) const {
        pollfd entry{pair.host.get(), POLLIN, 0};
        if (::poll(&entry, 1, static_cast<int>(wait.count())) != 1)
            return std::nullopt;
        Bytes report(256);
        const ssize_t n = ::read(pair.host.get(), report.data(), report.size());
        if (n <= 0)
            return std::nullopt;
        report.resize(static_cast<std::size_t>(n));
        return report;
    }
    // The payloads of the input reports up to the empty one that ends a frame.
    std::optional<Bytes> Frame() const {
        Bytes frame;
        for (int k = 0; k < 1000; ++k) {
            const auto report = Poll();
            if (!report || report->size() != kGadgetReportLength)
                return std::nullopt;
            const std::uint8_t n = (*report)[2];
            if (n == 0 && !frame.empty())
                return frame;
            frame.insert(frame.end(), report->begin() + 4, report->begin() + 4 + n);
        }
        return std::nullopt;
    }
    std::optional<Bytes> Exchange(const Bytes& request) const {
        Send(DataReport(request));
        return Frame();
    }

    EmuClock clock{EmuClock::Kind::Real};
    EmulatedLcx3 device;
    Pair pair;
    PluggableNode node;
    UniqueFd stop;
    GadgetServer server;
    bool stopped = false;
    std::atomic<bool> ended{false};
    std::thread runner;  // last: starts once everything above exists
};

TEST(GadgetReports, TheDescriptorDeclaresTheBridgesReportsWithoutIds) {
    const auto lengths = ParseReportDescriptor(GadgetReportDescriptor());
    ASSERT_TRUE(lengths.has_value());
    EXPECT_EQ(lengths->InputReportByteLength, kReportLength);
    EXPECT_EQ(lengths->OutputReportByteLength, kReportLength);
    EXPECT_FALSE(lengths->NumberedReports);
}

TEST(GadgetServing, AnswersRequestsAndKeepsSendingEmptyReports) {
    Served served;
    // Empty reports arrive on the tick before anything was asked.
    for (int k = 0; k < 3; ++k) {
        const auto report = served.Poll();
        ASSERT_TRUE(report.has_value());
        EXPECT_EQ(*report, Bytes(kGadgetReportLength, 0));
    }
    RegisterBank bank = served.device.Bank();
    EXPECT_EQ(served.Exchange(kRead12), Serve(kRead12, bank).answer);
    const Bytes read40 = Read40();
    EXPECT_EQ(served.Exchange(read40), Serve(read40, bank).answer);  // two reports
    EXPECT_TRUE(served.Stop());
}

TEST(GadgetServing, AHostThatStopsPollingLosesNoReport) {
    Served served;
    served.Send(DataReport(Read40()));
    // The socket queue fills, the server holds a report, and the answer's
    // two reports wait inside the emulator meanwhile.
    std::this_thread::sleep_for(300ms);
    Bytes frame;
    bool ended = false;
    int reports = 0;
    for (; reports < 400 && !ended; ++reports) {
        const auto report = served.Poll();
        ASSERT_TRUE(report.has_value());
        const std::uint8_t n = (*report)[2];
        ended = n == 0 && !frame.empty();
        frame.insert(frame.end(), report->begin() + 4, report->begin() + 4 + n);
    }
    RegisterBank bank = served.device.Bank();
    EXPECT_EQ(frame, Serve(Read40(), bank).answer);
    EXPECT_LT(reports, 40);  // far fewer than the 75 ticks: the server waited
    EXPECT_TRUE(served.Stop());
}

TEST(GadgetServing, UnplugLosesTheChipsStateAndReplugServesAgain) {
    DeviceOptions identity;
    identity.plugged = false;  // as lcx3-emulator starts: plugged by the host
    Served served({}, identity);
    ASSERT_TRUE(served.Poll().has_value());
    EXPECT_TRUE(Eventually([&] { return served.device.Plugged(); }));

    // A request is on the line when the host goes: its answer dies with the chip.
    served.Send(DataReport(Read40()));
    std::this_thread::sleep_for(20ms);
    served.node.attached = false;
    ASSERT_TRUE(Eventually([&] { return !served.device.Plugged(); }));
    while (served.Poll(0ms).has_value()) {
        // what was queued before the unplug
    }
    std::this_thread::sleep_for(150ms);          // the answer would have been complete by now
    EXPECT_FALSE(served.Poll(0ms).has_value());  // nothing is sent while detached

    served.node.attached = true;
    const auto report = served.Poll();  // the probe that found the host again
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(*report, Bytes(kGadgetReportLength, 0));
    EXPECT_TRUE(Eventually([&] { return served.device.Plugged(); }));
    // Nothing of the old answer, and the next request is answered.
    RegisterBank bank = served.device.Bank();
    EXPECT_EQ(served.Exchange(kRead12), Serve(kRead12, bank).answer);
    EXPECT_TRUE(served.Stop());
}

TEST(GadgetServing, TheWrittenBankIsHandedOverBeforeTheAnswerLeaves) {
    std::mutex mutex;
    std::optional<RegisterBank> handed;
    ServeOptions options;
    options.bankChanged = [&](const RegisterBank& bank) {
        const std::lock_guard lock(mutex);
        handed = bank;
    };
    Served served(options);
    const Bytes write = WriteSingle(3, 12);
    const auto answer = served.Exchange(write);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, Bytes(write.begin(), write.end()));  // echoed
    const std::lock_guard lock(mutex);
    ASSERT_TRUE(handed.has_value());
    EXPECT_EQ(handed->holding[3], 12);
}

TEST(GadgetServing, StopsPromptlyWhileTheHostIsAwayOrNotPolling) {
    for (const bool attached : {true, false}) {
        SCOPED_TRACE(attached);
        Served served;
        served.node.attached = attached;
        std::this_thread::sleep_for(200ms);  // not polled: the queue is full by now
        const auto start = Clock::now();
        EXPECT_TRUE(served.Stop());
        EXPECT_LT(Clock::now() - start, 500ms);
    }
}

TEST(GadgetServing, AClosedNodeEndsTheRun) {
    Served served;
    served.Send(DataReport(kRead12));
    // The host end goes: the node reads the end of the file.
    ::shutdown(served.pair.host.get(), SHUT_WR);
    EXPECT_TRUE(Eventually([&] { return served.ended.load(); }));
    EXPECT_FALSE(served.Stop());
}

}  // namespace
}  // namespace vadero::emu
