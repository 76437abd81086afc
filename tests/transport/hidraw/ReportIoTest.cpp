#include "transport/hidraw/ReportIo.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <future>
#include <vector>

#include "transport/UniqueFd.h"
#include "transport/hidraw/EventfdWake.h"

namespace vadero {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// A packet socket pair keeps report boundaries, as a hidraw node does.
struct FakeDevice {
    FakeDevice() {
        std::array<int, 2> fds{};
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK, 0, fds.data()), 0);
        node.reset(fds[0]);
        device.reset(fds[1]);
    }
    void send(const Bytes& report) const {
        ASSERT_EQ(::write(device.get(), report.data(), report.size()),
                  static_cast<ssize_t>(report.size()));
    }
    UniqueFd node;    // the layer's side
    UniqueFd device;  // the device's side
};

Bytes Read(const FakeDevice& dev, bool numbered, std::size_t length, IoStatus expected) {
    Bytes buffer(length, 0xEE);
    const IoResult result =
        ReadInputReport(dev.node.get(), -1, numbered, buffer, 0ms);  // all sent before
    EXPECT_EQ(result.status, expected);
    buffer.resize(result.count);
    return buffer;
}

TEST(ReportIo, OneReportPerReadWithTheIdByteInFront) {
    FakeDevice dev;
    dev.send({0xA1, 0xA2, 0xA3});
    dev.send({0xB1});
    dev.send({0xC1, 0xC2});
    dev.send({0xD1});
    dev.send({0x05, 0xE1});
    // Without report IDs a 0 goes in front; a longer report is cut.
    EXPECT_EQ(Read(dev, false, 3, IoStatus::Report), (Bytes{0x00, 0xA1, 0xA2}));
    EXPECT_EQ(Read(dev, false, 65, IoStatus::Report), (Bytes{0x00, 0xB1}));
    // Short buffers still take the whole report off the queue.
    EXPECT_EQ(Read(dev, false, 1, IoStatus::Report), (Bytes{0x00}));
    EXPECT_EQ(Read(dev, false, 0, IoStatus::Report), Bytes{});
    // With report IDs the device's own ID byte comes first.
    EXPECT_EQ(Read(dev, true, 65, IoStatus::Report), (Bytes{0x05, 0xE1}));
    EXPECT_EQ(Read(dev, true, 65, IoStatus::TimedOut), Bytes{});
}

TEST(ReportIo, PendingWakeWinsAndTheReportStaysQueued) {
    FakeDevice dev;
    EventfdWake wake;
    dev.send({0x42});
    wake.signal();
    EXPECT_TRUE(wake.signalled());
    std::array<std::uint8_t, 8> buffer{};
    EXPECT_EQ(ReadReport(dev.node.get(), wake.fd(), buffer).status, IoStatus::Woken);
    wake.clear();
    EXPECT_FALSE(wake.signalled());
    const IoResult result = ReadReport(dev.node.get(), wake.fd(), buffer);
    EXPECT_EQ(result.status, IoStatus::Report);
    EXPECT_EQ(result.count, 1u);
    EXPECT_EQ(buffer[0], 0x42);
}

TEST(ReportIo, WakeFromAnotherThreadEndsABlockedRead) {
    FakeDevice dev;  // silent
    EventfdWake wake;
    auto reading = std::async(std::launch::async, [&] {
        std::array<std::uint8_t, 65> buffer{};
        return ReadReport(dev.node.get(), wake.fd(), buffer).status;
    });
    wake.signal();
    ASSERT_EQ(reading.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(reading.get(), IoStatus::Woken);
}

TEST(ReportIo, HangUpIsGoneAfterTheQueuedReports) {
    std::array<int, 2> fds{};
    ASSERT_EQ(::pipe(fds.data()), 0);
    const UniqueFd readEnd(fds[0]);
    UniqueFd writeEnd(fds[1]);
    EXPECT_FALSE(HasHungUp(readEnd.get()));
    ASSERT_EQ(::write(writeEnd.get(), "\x07", 1), 1);
    writeEnd.reset();  // POLLHUP
    EXPECT_TRUE(HasHungUp(readEnd.get()));
    std::array<std::uint8_t, 4> buffer{};
    EXPECT_EQ(ReadReport(readEnd.get(), -1, buffer).status, IoStatus::Report);
    EXPECT_EQ(ReadReport(readEnd.get(), -1, buffer).status, IoStatus::Gone);

    FakeDevice dev;  // a closed peer: readable, end of file
    dev.device.reset();
    EXPECT_EQ(ReadReport(dev.node.get(), -1, buffer).status, IoStatus::Gone);
}

TEST(ReportIo, WaitReadableEndsWhenSignalledOrAfterTheDuration) {
    EventfdWake wake;
    EXPECT_FALSE(WaitReadable(wake.fd(), 0ms));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WaitReadable(wake.fd(), 20ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 20ms);
    wake.signal();
    EXPECT_TRUE(WaitReadable(wake.fd(), 3600s));
}

}  // namespace
}  // namespace vadero
