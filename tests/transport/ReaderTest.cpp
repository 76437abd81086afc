// The reader thread: connection events, the output slot and stopping, with a
// real thread and bounded waits.
#include <gtest/gtest.h>

#include <future>

#include "tests/support/FakeHid.h"
#include "tests/support/ManualDispatcher.h"
#include "transport/Identity.h"
#include "transport/USB.h"

namespace vadero {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::FakeDevice;
using test::FakeHidLayer;

constexpr auto kPath = "/dev/hidraw0";
constexpr auto kBound = 2s;  // generous bound for a real thread

class Reader : public ::testing::Test {
  protected:
    FakeHidLayer hid;
    ManualDispatcher dispatcher;
    THIDDevice device{TransportEnv{hid, dispatcher}};
    std::vector<std::string> events;

    void SetUp() override {
        device.Pid = lcx3::kProductId;
        device.OnConnect = [this](TObject* sender) {
            EXPECT_EQ(sender, &device);
            events.push_back("connect");
        };
        device.OnDisconnect = [this](TObject*) { events.push_back("disconnect"); };
        FakeDevice d;
        d.path = kPath;
        hid.addDevice(d);
    }

    // Pumps until `count` events arrived or the bound passed.
    void waitEvents(std::size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + kBound;
        while (events.size() < count && std::chrono::steady_clock::now() < deadline) {
            dispatcher.waitForWork(10ms);
            dispatcher.pump();
        }
    }
    void waitPending() {
        const auto deadline = std::chrono::steady_clock::now() + kBound;
        while (device.Reader()->PendingWrite() == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
    }
    int write(std::uint8_t first) {
        const Bytes data{first, 2, 3};
        return device.WriteReport(data.data(), static_cast<int>(data.size()));
    }
};

TEST_F(Reader, ReportsConnectionChangesOnTheOwnerThread) {
    hid.setPresent(kPath, false);
    hid.setPresent(kPath, true);  // enumeration needs it present once
    ASSERT_TRUE(device.OpenIndex(0));
    waitEvents(1);
    EXPECT_EQ(events, (std::vector<std::string>{"connect"}));

    hid.setPresent(kPath, false);
    waitEvents(2);
    hid.setPresent(kPath, true);
    waitEvents(3);
    EXPECT_EQ(events, (std::vector<std::string>{"connect", "disconnect", "connect"}));

    // Selecting the device already connected raises OnConnect once more.
    ASSERT_TRUE(device.SelectIndex(0));
    waitEvents(4);
    EXPECT_EQ(events.back(), "connect");
    EXPECT_EQ(events.size(), 4u);
}

// That it returns without waiting is shown on the virtual clock (BridgeTest).
TEST_F(Reader, NothingIsWrittenBeforeADeviceWasOpened) {
    EXPECT_EQ(write(1), -2);
    EXPECT_TRUE(hid.written(kPath).empty());
}

TEST_F(Reader, WritesFramedReportsAfterTheNextInputReport) {
    ASSERT_TRUE(device.OpenIndex(0));
    ASSERT_TRUE(hid.waitForBlockedRead(kBound));
    auto pending = std::async(std::launch::async, [this] { return write(7); });
    waitPending();
    hid.queueInput(kPath, FakeHidLayer::bridgeReport({}));
    EXPECT_EQ(pending.get(), 64);
    const auto written = hid.written(kPath);
    ASSERT_EQ(written.size(), 1u);
    Bytes expected(65, 0);
    expected[1] = 7;
    expected[2] = 2;
    expected[3] = 3;
    EXPECT_EQ(written[0], expected);
}

TEST_F(Reader, AReportNotTakenInTimeStaysPendingUntilReplaced) {
    ASSERT_TRUE(device.OpenIndex(0));
    ASSERT_TRUE(hid.waitForBlockedRead(kBound));
    EXPECT_EQ(write(1), -2);  // no input report: the reader never got to write
    EXPECT_EQ(write(2), -2);  // replaces the first
    EXPECT_EQ(device.Reader()->PendingWrite(), 65);
    hid.queueInput(kPath, FakeHidLayer::bridgeReport({}));
    ASSERT_TRUE(hid.waitForWritten(kPath, 1, kBound));
    const auto written = hid.written(kPath);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0][1], 2);
}

TEST_F(Reader, AReportDroppedOnUnplugIsNotReportedAsTaken) {
    ASSERT_TRUE(device.OpenIndex(0));
    ASSERT_TRUE(hid.waitForBlockedRead(kBound));
    auto pending = std::async(std::launch::async, [this] { return write(1); });
    waitPending();
    hid.setPresent(kPath, false);
    EXPECT_EQ(pending.get(), -2);
    EXPECT_EQ(device.Reader()->PendingWrite(), 0);
    EXPECT_TRUE(hid.written(kPath).empty());
}

TEST_F(Reader, AFailedWriteIsRetriedAfterTheNextInputReport) {
    hid.setWriteFails(true);
    ASSERT_TRUE(device.OpenIndex(0));
    ASSERT_TRUE(hid.waitForBlockedRead(kBound));
    auto pending = std::async(std::launch::async, [this] { return write(9); });
    waitPending();
    hid.queueInput(kPath, FakeHidLayer::bridgeReport({}));
    EXPECT_EQ(pending.get(), -2);
    hid.setWriteFails(false);
    hid.queueInput(kPath, FakeHidLayer::bridgeReport({}));
    ASSERT_TRUE(hid.waitForWritten(kPath, 1, kBound));
    EXPECT_EQ(hid.written(kPath)[0][1], 9);
}

TEST_F(Reader, WithoutReportLengthsPassesStillWriteWithoutReading) {
    ASSERT_TRUE(device.SelectIndex(0));  // ReadLength stays 0
    int reports = 0;
    device.OnRXFrame = [&](TObject*) { ++reports; };
    // The report length is still unknown, so the framed report is empty:
    // hand a raw report to the slot instead.
    const Bytes raw{0, 5, 6};
    EXPECT_EQ(device.TCustomUSB::WriteReport(raw.data(), 3), 3);
    EXPECT_EQ(hid.written(kPath).at(0), raw);
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(hid.blockedReads(), 0);
}

TEST_F(Reader, StopReturnsPromptlyWhileTheDeviceIsSilent) {
    ASSERT_TRUE(device.OpenIndex(0));
    ASSERT_TRUE(hid.waitForBlockedRead(kBound));
    auto pending = std::async(std::launch::async, [this] { return write(1); });
    waitPending();
    const auto start = std::chrono::steady_clock::now();
    device.StopReader();
    EXPECT_LT(std::chrono::steady_clock::now() - start, kBound);
    EXPECT_EQ(device.Reader(), nullptr);
    EXPECT_EQ(pending.get(), -2);             // the report was never written
    EXPECT_TRUE(hid.written(kPath).empty());  // the woken pass wrote nothing
    EXPECT_EQ(write(1), -2);                  // no reader any more
}

TEST_F(Reader, RetargetingDoesNotWaitForASilentDevice) {
    ASSERT_TRUE(device.OpenIndex(0));
    ASSERT_TRUE(hid.waitForBlockedRead(kBound));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(device.OpenIndex(0));
    EXPECT_LT(std::chrono::steady_clock::now() - start, kBound);
}

}  // namespace
}  // namespace vadero
