// The HID-serial bridge: matching, data and configuration reports, frames.
#include <gtest/gtest.h>

#include "tests/support/FakeHid.h"
#include "tests/support/ManualDispatcher.h"
#include "transport/HIDSerial.h"
#include "transport/Identity.h"

namespace vadero {
namespace {

using test::Bytes;
using test::FakeDevice;
using test::FakeHidLayer;

FakeDevice Bridge(const std::string& path, const std::string& product = std::string(lcx3::kProduct),
                  const std::string& maker = std::string(lcx3::kManufacturer)) {
    FakeDevice d;
    d.path = path;
    d.product = product;
    d.manufacturer = maker;
    d.serial = "S-" + path.substr(path.size() - 1);
    return d;
}

// Reader passes are run by hand on the layer's virtual clock.
class BridgeTest : public ::testing::Test {
  protected:
    FakeHidLayer hid{FakeHidLayer::Time::Virtual};
    ManualDispatcher dispatcher;
    THIDSerial bridge{TransportEnv{hid, dispatcher, ReaderMode::Manual}};
    std::vector<std::string> frames;

    void SetUp() override {
        bridge.OnRXFrame = [this](TObject* sender) {
            EXPECT_EQ(sender, &bridge);
            ASSERT_EQ(bridge.RxCount(), bridge.RxData().size());
            frames.push_back(bridge.RxData());
        };
        hid.setContinuousEmpty(true);
    }
    void openOne() {
        hid.addDevice(Bridge("/dev/hidraw0"));
        ASSERT_TRUE(bridge.OpenDevice(1));
    }
    std::vector<Bytes> sent() { return hid.written("/dev/hidraw0"); }
    void runPasses(int n) {
        for (int i = 0; i < n; ++i) bridge.Reader()->RunPass();
        dispatcher.pump();
    }
    bool send(std::size_t count) {
        Bytes data(count);
        for (std::size_t i = 0; i < count; ++i) data[i] = static_cast<std::uint8_t>(i + 1);
        return bridge.SendBytes(data.data(), static_cast<unsigned>(count));
    }
};

TEST_F(BridgeTest, MatchesMakerAndProductExactly) {
    hid.addDevice(Bridge("/dev/hidraw0", "HID-LCX3"));
    hid.addDevice(Bridge("/dev/hidraw1", "HID-LCX3  ", "norvelectrics"));
    hid.addDevice(Bridge("/dev/hidraw2"));
    hid.addDevice(Bridge("/dev/hidraw3", "*"));
    hid.addDevice(Bridge("/dev/hidraw4", "hid-lcx3  "));
    EXPECT_EQ(bridge.GetDeviceCount(), 4);  // "*" matches any product of the maker
    bridge.SetProductIdent(std::string(lcx3::kProduct));
    EXPECT_EQ(bridge.GetDeviceCount(), 1);
    bridge.SetProductIdent("HID-LCX3*");
    EXPECT_EQ(bridge.GetDeviceCount(), 0);  // no wildcard inside a text
    bridge.SetProductIdent("*");
    bridge.SetVendorIdent("*");
    EXPECT_EQ(bridge.GetDeviceCount(), 0);  // and none for the maker
}

TEST_F(BridgeTest, OpenDeviceCountsMatchesOnly) {
    hid.addDevice(Bridge("/dev/hidraw0", "Autre"));
    hid.addDevice(Bridge("/dev/hidraw1"));
    hid.addDevice(Bridge("/dev/hidraw2"));
    bridge.SetProductIdent(std::string(lcx3::kProduct));
    EXPECT_FALSE(bridge.OpenDevice(0));
    EXPECT_FALSE(bridge.OpenDevice(3));
    EXPECT_EQ(bridge.Reader()->DevicePath, "");
    ASSERT_TRUE(bridge.OpenDevice(2));
    EXPECT_EQ(bridge.Reader()->DevicePath, "/dev/hidraw2");
    EXPECT_TRUE(bridge.OpenDevice(3));  // no third match: the earlier state stays
    EXPECT_EQ(bridge.Reader()->DevicePath, "/dev/hidraw2");
}

TEST_F(BridgeTest, OpenListedDeviceDescribesTheDevice) {
    hid.addDevice(Bridge("/dev/hidraw0"));
    EXPECT_EQ(bridge.OpenListedDevice(1), "USB n°1 :  Norvelectrics  HID-LCX3    {S-0}");
    EXPECT_TRUE(bridge.Opened());
    EXPECT_EQ(bridge.OpenListedDevice(2), "Impossible d'ouvrir le appareil USB n°2");
    EXPECT_FALSE(bridge.Opened());
}

TEST_F(BridgeTest, CutsBytesIntoDataReportsOfSixtyAtMost) {
    openOne();
    struct Case {
        std::size_t count;
        std::vector<std::uint8_t> lengthBytes;
    };
    for (const Case& c :
         {Case{8, {0x88}}, Case{61, {0x3C, 0x81}}, Case{60, {0x3C}}, Case{120, {0x3C, 0x3C}}}) {
        const std::size_t before = sent().size();
        ASSERT_TRUE(send(c.count)) << c.count;
        const auto reports = sent();
        ASSERT_EQ(reports.size() - before, c.lengthBytes.size()) << c.count;
        std::size_t next = 1;
        for (std::size_t r = 0; r < c.lengthBytes.size(); ++r) {
            const Bytes& report = reports[before + r];
            ASSERT_EQ(report.size(), 65u);
            EXPECT_EQ(report[0], 0x00);  // report ID
            EXPECT_EQ(report[1], 0x00);  // data command
            EXPECT_EQ(report[3], c.lengthBytes[r]) << c.count;
            const int n = report[3] & 0x3F;
            for (int i = 0; i < n; ++i) EXPECT_EQ(report[5 + i], next++);
            for (int i = 5 + n; i < 65; ++i) EXPECT_EQ(report[i], 0) << "padding";
        }
    }
    EXPECT_FALSE(bridge.SendBytes(nullptr, 0));
}

TEST_F(BridgeTest, StopsAtTheFirstChunkNotTaken) {
    openOne();
    hid.setWriteFails(true);
    EXPECT_FALSE(send(120));
    hid.setWriteFails(false);
    runPasses(3);  // the pending first chunk goes out late; the second never
    const auto reports = sent();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0][5], 1);
}

// The writer waits for a pass only when one can take the report; the
// virtual clock moves only with the passes.
TEST(BridgeHandOver, ReturnsAtOnceWhenNoPassCanTakeTheReport) {
    constexpr auto kPath = "/dev/hidraw0";
    struct Rig {
        FakeHidLayer hid{FakeHidLayer::Time::Virtual};
        ManualDispatcher dispatcher;
        THIDSerial bridge{TransportEnv{hid, dispatcher, ReaderMode::Manual}};
        std::vector<std::string> events;
        void open() { ASSERT_TRUE(bridge.OpenDevice(1)); }
        void unplug() { hid.setPresent(kPath, false); }
        void pass() {
            bridge.Reader()->RunPass();
            dispatcher.pump();
        }
    };
    struct Case {
        const char* name;
        std::function<void(Rig&)> arrange;
        bool taken;
        bool waited;
        std::vector<std::string> events;  // connection changes, after the send
    };
    const Case cases[] = {
        {"never opened", [](Rig&) {}, false, false, {}},
        {"present", [](Rig& r) { r.open(); }, true, true, {"connect"}},
        {"unplugged, not yet noticed",
         [](Rig& r) {
             r.open();
             r.pass();
             r.unplug();
         },
         false,
         true,
         {"connect", "disconnect"}},
        {"unplugged, noticed by a pass",
         [](Rig& r) {
             r.open();
             r.pass();
             r.unplug();
             r.pass();
         },
         false,
         false,
         {"connect", "disconnect"}},
        {"opened again after the unplug",
         [](Rig& r) {
             r.open();
             r.unplug();
             r.pass();
             r.hid.setPresent(kPath, true);
             r.open();
         },
         true,
         true,
         {"connect"}},
    };
    for (const Case& c : cases) {
        Rig r;
        r.hid.setContinuousEmpty(true);
        r.hid.addDevice(Bridge(kPath));
        r.bridge.OnConnect = [&](TObject*) { r.events.push_back("connect"); };
        r.bridge.OnDisconnect = [&](TObject*) { r.events.push_back("disconnect"); };
        c.arrange(r);
        const auto before = r.hid.now();
        const std::uint64_t passes = r.bridge.Reader()->PassCount();
        const Bytes data{1, 2, 3};
        EXPECT_EQ(r.bridge.SendBytes(data.data(), 3), c.taken) << c.name;
        EXPECT_EQ(r.hid.now() > before, c.waited) << c.name;
        EXPECT_EQ(r.bridge.Reader()->PassCount() > passes, c.waited) << c.name;
        EXPECT_EQ(r.hid.written(kPath).size(), c.taken ? 1u : 0u) << c.name;
        EXPECT_EQ(r.bridge.Reader()->PendingWrite(), 0) << c.name;
        r.dispatcher.pump();
        EXPECT_EQ(r.events, c.events) << c.name;
    }
}

TEST_F(BridgeTest, SendsTheLineConfiguration) {
    openOne();
    bridge.SetPortFormat(TPortFormat::_9600_8N2);  // unchanged: nothing sent
    EXPECT_TRUE(sent().empty());
    bridge.SetConfigBit6(true);
    bridge.SetConfigBit6(true);
    EXPECT_EQ(sent().size(), 2u);
    bridge.SetPortFormat(TPortFormat::_19200_8E1);
    ASSERT_EQ(sent().size(), 3u);
    Bytes expected(65, 0);
    expected[1] = 0x01;
    expected[2] = 0x02;
    expected[3] = 0x40;
    EXPECT_EQ(sent()[2], expected);
    bridge.SetConfigBit7(true);
    EXPECT_EQ(sent()[3][3], 0xC0);
}

TEST_F(BridgeTest, GathersPayloadsIntoOneFrameAtTheEmptyReport) {
    openOne();
    hid.setContinuousEmpty(false);
    Bytes frame(130);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i);
    hid.queueFrame("/dev/hidraw0", frame);
    hid.queueInput("/dev/hidraw0", FakeHidLayer::bridgeReport({}));  // a second empty one
    runPasses(6);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], std::string(frame.begin(), frame.end()));
    EXPECT_TRUE(hid.written("/dev/hidraw0").empty());
}

TEST_F(BridgeTest, AFrameOverTwoHundredFiftyFourBytesIsCut) {
    openOne();
    hid.setContinuousEmpty(false);
    hid.queueFrame("/dev/hidraw0", Bytes(310, 0xAB));  // 60 x 5 + 10
    runPasses(7);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].size(), 240u);  // the fifth report would pass 254; later ones follow it
}

TEST_F(BridgeTest, OversizedOrTruncatedLengthFieldsReadNoStaleBytes) {
    openOne();
    hid.setContinuousEmpty(false);
    Bytes claimsMore = FakeHidLayer::bridgeReport(Bytes(60, 0x11));
    claimsMore[3] = 63;  // more than a report can carry
    Bytes shortReport = FakeHidLayer::bridgeReport(Bytes(3, 0x22));
    shortReport.resize(7);  // the device sent only two of the three bytes announced
    hid.queueInput("/dev/hidraw0", claimsMore);
    hid.queueInput("/dev/hidraw0", shortReport);
    hid.queueInput("/dev/hidraw0", FakeHidLayer::bridgeReport({}));
    runPasses(3);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], std::string(60, '\x11') + std::string(2, '\x22'));
}

TEST_F(BridgeTest, FramesAndConnectionChangesArriveInOrder) {
    std::vector<std::string> order;
    bridge.OnConnect = [&](TObject*) { order.push_back("connect"); };
    bridge.OnDisconnect = [&](TObject*) { order.push_back("disconnect"); };
    bridge.OnRXFrame = [&](TObject*) { order.push_back("frame:" + bridge.RxData()); };
    openOne();
    hid.setContinuousEmpty(false);
    hid.queueFrame("/dev/hidraw0", {'a', 'b'});
    for (int i = 0; i < 2; ++i) bridge.Reader()->RunPass();
    hid.setPresent("/dev/hidraw0", false);
    bridge.Reader()->RunPass();
    EXPECT_TRUE(order.empty());  // nothing runs on the reader's side
    dispatcher.pump();
    EXPECT_EQ(order, (std::vector<std::string>{"connect", "frame:ab", "disconnect"}));
    EXPECT_EQ(bridge.RxCount(), 0u);  // valid inside the event only
}

TEST_F(BridgeTest, QueuedWorkIsIgnoredOnceTheBridgeIsGone) {
    auto other = std::make_unique<THIDSerial>(TransportEnv{hid, dispatcher, ReaderMode::Manual});
    int raised = 0;
    other->OnConnect = [&](TObject*) { ++raised; };
    hid.addDevice(Bridge("/dev/hidraw0"));
    ASSERT_TRUE(other->OpenDevice(1));
    other->Reader()->RunPass();
    other.reset();
    dispatcher.pump();
    EXPECT_EQ(raised, 0);
}

}  // namespace
}  // namespace vadero
