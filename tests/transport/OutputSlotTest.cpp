// The output slot's rules while the reader thread really runs. The fake device
// sends an input report only when the test queues one, and can hold a write
// until the test lifts the hold: each case reaches its interleaving by these
// two, never by sleeping.
#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <thread>

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
using Reports = std::vector<Bytes>;

constexpr auto kPath = "/dev/hidraw0";
constexpr auto kBound = 2s;  // safety limit of every wait
// As in use, both reports have one length: only the content tells them apart.
const Bytes kFirst{0, 1, 1};
const Bytes kSecond{0, 2, 2};
constexpr int kLength = 3;

bool eventually(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

struct Rig {
    FakeHidLayer hid;
    ManualDispatcher dispatcher;
    THIDDevice device{TransportEnv{hid, dispatcher, ReaderMode::Threaded}};
    // Destroyed first: a hold left by a failed check must not keep the reader.
    struct LiftHold {
        FakeHidLayer& hid;
        ~LiftHold() { hid.holdWrites(false); }
    } lift{hid};

    Rig() {
        device.Pid = lcx3::kProductId;
        FakeDevice d;
        d.path = kPath;
        hid.addDevice(d);
    }
    TUSBThread& reader() { return *device.Reader(); }
    int pending() { return reader().PendingWrite(); }
    Reports written() const { return hid.written(kPath); }
    [[nodiscard]] bool open() { return device.OpenIndex(0) && hid.waitForBlockedRead(kBound); }

    int write(const Bytes& report) {
        return device.TCustomUSB::WriteReport(report.data(), static_cast<int>(report.size()));
    }
    // The writer on a thread of its own; returns once its report is in the slot.
    std::future<int> handOver(const Bytes& report) {
        const std::uint64_t before = reader().HandOverCount();
        auto writer = std::async(std::launch::async, [this, report] { return write(report); });
        EXPECT_TRUE(eventually([&] { return reader().HandOverCount() > before; }));
        return writer;
    }
    void sendInput() { hid.queueInput(kPath, FakeHidLayer::bridgeReport({})); }
    // One input report, and the pass that reads it ends, its write step included.
    [[nodiscard]] bool feed() {
        if (!hid.waitForBlockedRead(kBound))
            return false;
        const std::uint64_t passes = reader().PassCount();
        sendInput();
        return eventually([&] { return reader().PassCount() > passes; });
    }
    // Unplugs the device and returns once a pass failed to open it.
    [[nodiscard]] bool unplugNoticed() {
        dispatcher.pump();  // the connection's event, so that the next one is the unplug's
        hid.setPresent(kPath, false);
        if (!dispatcher.waitForWork(kBound))
            return false;  // a pass failed to open
        const std::uint64_t passes = reader().PassCount();
        return eventually([&] { return reader().PassCount() > passes; });
    }
};

// Taken: the writer learns of it only once the report is on the device, and
// the pass clears the slot, so the report is not written twice.
TEST(OutputSlotThreaded, AReportIsTakenOnlyOnceWritten) {
    Rig r;
    ASSERT_TRUE(r.open());
    r.hid.holdWrites(true);
    auto writer = r.handOver(kFirst);
    r.sendInput();
    ASSERT_TRUE(r.hid.waitForHeldWrite(kBound));
    EXPECT_EQ(r.pending(), kLength);  // being written is not written
    EXPECT_NE(writer.wait_for(0s), std::future_status::ready);
    r.hid.holdWrites(false);
    EXPECT_EQ(writer.get(), kLength);
    EXPECT_EQ(r.pending(), 0);
    ASSERT_TRUE(r.feed());
    EXPECT_EQ(r.written(), Reports{kFirst});
}

// Replaced: a report handed over while the reader writes the one before it
// is not written by that write; it stays pending, and the next pass writes it
// after an input report, or drops it when the device is gone.
TEST(OutputSlotThreaded, AReportHandedOverDuringAWriteIsNotTakenByIt) {
    for (const bool unplug : {false, true}) {
        SCOPED_TRACE(unplug ? "then unplugged" : "then an input report");
        Rig r;
        ASSERT_TRUE(r.open());
        r.hid.holdWrites(true);
        auto first = r.handOver(kFirst);
        r.sendInput();
        ASSERT_TRUE(r.hid.waitForHeldWrite(kBound));
        auto second = r.handOver(kSecond);
        r.hid.holdWrites(false);
        ASSERT_TRUE(r.hid.waitForBlockedRead(kBound));  // the pass that wrote the first ended
        EXPECT_EQ(r.pending(), kLength);
        EXPECT_EQ(r.written(), Reports{kFirst});
        EXPECT_NE(second.wait_for(0s), std::future_status::ready);

        if (unplug) {
            r.hid.setPresent(kPath, false);
        } else {
            r.sendInput();
        }
        EXPECT_EQ(second.get(), unplug ? -1 : kLength);
        EXPECT_EQ(r.pending(), 0);
        const Reports expected = unplug ? Reports{kFirst} : Reports{kFirst, kSecond};
        EXPECT_EQ(r.written(), expected);
        // The first writer's result depends on whether its own wait ended
        // before the slot's next outcome; only its report's fate is fixed.
        first.get();
    }
}

// Dropped: a report pending when the device goes is dropped, whether its
// writer was waiting at the unplug or came after a pass noticed it; the
// writer returns -1, and the report is not written once the device is back.
TEST(OutputSlotThreaded, AReportPendingAtUnplugIsDropped) {
    for (const bool waiting : {true, false}) {
        SCOPED_TRACE(waiting ? "writer waiting at the unplug" : "writer after the unplug");
        Rig r;
        ASSERT_TRUE(r.open());
        if (waiting) {
            auto writer = r.handOver(kFirst);
            r.hid.setPresent(kPath, false);
            EXPECT_EQ(writer.get(), -1);
        } else {
            ASSERT_TRUE(r.unplugNoticed());
            EXPECT_EQ(r.write(kFirst), -1);
        }
        EXPECT_EQ(r.pending(), 0);
        r.hid.setPresent(kPath, true);
        ASSERT_TRUE(r.feed());
        EXPECT_EQ(r.pending(), 0);
        EXPECT_TRUE(r.written().empty());
    }
}

// Timed out: a present device that sends no input report keeps the reader
// from its write step; the writer returns -1 after its full wait, and the
// report stays pending for the pass after the next input report, unless a
// later report replaced it.
TEST(OutputSlotThreaded, AReportNotTakenInTimeStaysPending) {
    for (const bool replaced : {false, true}) {
        SCOPED_TRACE(replaced ? "replaced" : "not replaced");
        Rig r;
        ASSERT_TRUE(r.open());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(r.write(kFirst), -1);
        EXPECT_GE(std::chrono::steady_clock::now() - start, TUSBThread::kWriteTimeOut);
        EXPECT_EQ(r.pending(), kLength);
        if (replaced) {
            EXPECT_EQ(r.write(kSecond), -1);
        }
        EXPECT_TRUE(r.written().empty());
        ASSERT_TRUE(r.feed());
        EXPECT_EQ(r.pending(), 0);
        EXPECT_EQ(r.written(), Reports{replaced ? kSecond : kFirst});
    }
}

}  // namespace
}  // namespace vadero
