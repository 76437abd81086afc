// The whole transport, from the reader's passes up, against the emulated
// LCX3 on the virtual clock: identity, exchanges, unplugging, power and faults.
#include <gtest/gtest.h>

#include "emulator/EmulatorHid.h"
#include "modbus/Crc.h"
#include "tests/support/ManualDispatcher.h"
#include "tests/support/ManualDrive.h"
#include "transport/HIDSerial.h"
#include "transport/Identity.h"

namespace vadero::emu {
namespace {

using namespace std::chrono_literals;

const Bytes kRead12{0x64, 0x03, 0x00, 0x00, 0x00, 0x0C, 0x4C, 0x3A};
const Bytes kRead8{0x64, 0x03, 0x00, 0x10, 0x00, 0x08, 0x4C, 0x3C};
const Bytes kRead24{0x64, 0x03, 0x00, 0x30, 0x00, 0x18, 0x4C, 0x3A};
const Bytes kRead1{0x64, 0x03, 0x00, 0x00, 0x00, 0x01, 0x8D, 0xFF};
const Bytes kInput1{0x64, 0x04, 0x00, 0x00, 0x00, 0x01, 0x38, 0x3F};
const Bytes kWrite3{0x64, 0x10, 0x00, 0x00, 0x00, 0x03, 0x06, 0x34,
                    0x12, 0x01, 0x00, 0x02, 0x00, 0xD7, 0xCE};

bool CrcHolds(const Bytes& f) {
    return f.size() >= 4 && Crc16(f.data(), f.size() - 2) == (f[f.size() - 2] | f.back() << 8);
}

// A bridge on one emulated device, its reader run by hand.
class Link {
  public:
    Link(EmulatorHid& hid, ManualDispatcher& dispatcher)
        : drive_(hid, dispatcher), bridge(TransportEnv{hid, dispatcher, ReaderMode::Manual}) {
        bridge.SetProductIdent(std::string(lcx3::kProduct));
        bridge.OnRXFrame = [this](TObject*) {
            frames.emplace_back(bridge.RxData().begin(), bridge.RxData().end());
        };
        bridge.OnConnect = [this](TObject*) { events.push_back("connect"); };
        bridge.OnDisconnect = [this](TObject*) { events.push_back("disconnect"); };
    }
    // Sends a request as the master does and waits (virtually) for one frame.
    std::optional<Bytes> Exchange(const Bytes& request, std::chrono::milliseconds limit = 300ms) {
        const std::size_t before = frames.size();
        bridge.SetConfigBit6(true);
        sent = bridge.SendBytes(request.data(), static_cast<unsigned>(request.size()));
        if (!RunUntil([&] { return frames.size() > before; }, limit))
            return std::nullopt;
        return frames.back();
    }
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
        return drive_.RunUntil(bridge.Reader(), done, limit);
    }
    void RunFor(std::chrono::milliseconds d) { drive_.RunFor(bridge.Reader(), d); }

  private:
    test::ManualDrive drive_;

  public:
    THIDSerial bridge;
    std::vector<Bytes> frames;
    std::vector<std::string> events;
    bool sent = false;  // the last Exchange's reports were all taken
};

class Emulated : public ::testing::Test {
  protected:
    EmulatorHid hid{EmulatorHid::Time::Virtual};
    ManualDispatcher dispatcher;
    EmulatedLcx3& lcx = hid.AddDevice();
    Link link{hid, dispatcher};

    void SetUp() override { ASSERT_TRUE(link.bridge.OpenDevice(1)); }
    Bytes Expected(const Bytes& request) {
        RegisterBank bank = lcx.Bank();
        return *Serve(request, bank).answer;
    }
};

TEST_F(Emulated, IdentifiesItselfAsTheBridge) {
    hid.AddDevice({.product = "HID-LCX2  "});
    hid.AddDevice({.serial = "A-17"});
    hid.AddDevice({.attributes = {0x0451, 0x0004}});
    EXPECT_EQ(hid.enumerate(false),
              (std::vector<std::string>{"emulator:1", "emulator:2", "emulator:3", "emulator:4"}));
    EXPECT_EQ(link.bridge.GetDeviceCount(), 2);
    // Listed entries count every device with the ids, whatever its strings.
    EXPECT_EQ(link.bridge.OpenListedDevice(3), "USB n°3 :  Norvelectrics  HID-LCX3    {A-17}");
    EXPECT_EQ(link.bridge.Reader()->DevicePath, "emulator:3");
    EXPECT_EQ(link.bridge.Capabilities.InputReportByteLength, 65);
    EXPECT_EQ(link.bridge.Capabilities.OutputReportByteLength, 65);
    EXPECT_EQ(link.bridge.GetSerialNumber(1), "LCX3-0001");
    link.bridge.SetProductIdent("*");
    EXPECT_EQ(link.bridge.GetDeviceCount(), 3);  // the right ids, another product string

    hid.Device(2).Unplug();
    EXPECT_EQ(link.bridge.GetDeviceCount(), 2);
    EXPECT_EQ(hid.enumerate(true).size(), 4u);
    EXPECT_EQ(hid.open("emulator:2"), nullptr);
    EXPECT_EQ(hid.open("emulator:9"), nullptr);
    EXPECT_EQ(hid.open("/dev/hidraw0"), nullptr);
}

TEST_F(Emulated, AnswersTheWorkedExamplesByteForByte) {
    lcx.SetHolding(1, rgMeasureCurrent);
    lcx.SetMeasuredInput(-200);
    for (const Bytes& request : {kRead12, kRead8, kRead24, kRead1, kInput1}) {
        const Bytes expected = Expected(request);
        EXPECT_EQ(link.Exchange(request), expected);
    }
    EXPECT_EQ(link.frames.back(), Bytes({0x64, 0x04, 0x02, 0xFF, 0x38, 0xB5, 0x1A}));

    EXPECT_EQ(link.Exchange(kWrite3), Bytes({0x64, 0x10, 0x00, 0x00, 0x00, 0x03, 0x89, 0xFD}));
    EXPECT_EQ(lcx.Holding(0), 0x1234);
    EXPECT_EQ(lcx.Holding(1), 1);
    EXPECT_EQ(lcx.Holding(2), 2);
    for (int r = 0; r < kHoldingCount; ++r) EXPECT_EQ(lcx.WriteCount(r), r < 3 ? 1u : 0u) << r;
    EXPECT_EQ(link.frames.size(), 6u);

    // Exceptions come back; a request for another slave stays unanswered.
    EXPECT_EQ(link.Exchange(WithCrc({0x64, 0x03, 0x00, 0x40, 0x00, 0x10})),
              WithCrc({0x64, 0x83, 0x02}));
    EXPECT_EQ(link.Exchange(WithCrc({0x64, 0x2B, 0x0E, 0x01, 0x00})), WithCrc({0x64, 0xAB, 0x01}));
    EXPECT_EQ(link.Exchange(WithCrc({0x02, 0x03, 0x00, 0x00, 0x00, 0x0C})), std::nullopt);
    EXPECT_EQ(lcx.LineFormat(), TPortFormat::_9600_8N2);
    EXPECT_EQ(lcx.LineOptions(), 0x40);
}

TEST_F(Emulated, UnderstandsARequestSplitOverSeveralDataReports) {
    // Registers 0 to 30 in one function-16 request: 71 bytes, two data reports.
    Bytes request{0x64, 0x10, 0x00, 0x00, 0x00, 31, 62};
    for (int r = 0; r < 31; ++r) {
        request.push_back(static_cast<std::uint8_t>(r));     // low byte first
        request.push_back(static_cast<std::uint8_t>(0xA0));  // then high
    }
    request = WithCrc(request);
    const auto before = lcx.Stats().dataReports;
    EXPECT_EQ(link.Exchange(request), WithCrc({0x64, 0x10, 0x00, 0x00, 0x00, 31}));
    EXPECT_EQ(lcx.Stats().dataReports - before, 2u);
    for (int r = 0; r < 31; ++r) EXPECT_EQ(lcx.Holding(r), 0xA000 + r);

    // A read handed over in two pieces, one report tick apart.
    const std::size_t frames = link.frames.size();
    ASSERT_TRUE(link.bridge.SendBytes(kRead12.data(), 3));
    ASSERT_TRUE(link.bridge.SendBytes(kRead12.data() + 3, 5));
    ASSERT_TRUE(link.RunUntil([&] { return link.frames.size() > frames; }, 300ms));
    EXPECT_EQ(link.frames.back(), Expected(kRead12));
}

TEST_F(Emulated, UnplugAndReplugAreSeenThroughTheBridge) {
    link.RunFor(20ms);
    EXPECT_EQ(link.events, (std::vector<std::string>{"connect"}));
    lcx.Unplug();
    link.RunFor(300ms);
    EXPECT_EQ(link.events, (std::vector<std::string>{"connect", "disconnect"}));
    EXPECT_FALSE(link.bridge.Reader()->Connected);
    EXPECT_EQ(link.Exchange(kRead1, 200ms), std::nullopt);  // nothing answers while gone
    EXPECT_FALSE(link.sent);

    lcx.Plug();
    link.RunFor(300ms);
    EXPECT_EQ(link.events, (std::vector<std::string>{"connect", "disconnect", "connect"}));
    EXPECT_EQ(link.Exchange(kRead12), Expected(kRead12));
    EXPECT_TRUE(link.sent);
}

TEST_F(Emulated, AHandleOpenedBeforeAnUnplugStaysDead) {
    auto handle = hid.open("emulator:1");
    ASSERT_NE(handle, nullptr);
    lcx.Unplug();
    lcx.Plug();
    auto wake = hid.makeWake();
    std::array<std::uint8_t, 65> report{};
    EXPECT_EQ(handle->read(report.data(), 65, *wake), HidHandle::kFailed);
    EXPECT_EQ(handle->write(report.data(), 65), -1);
    EXPECT_EQ(handle->product(), std::nullopt);
    auto fresh = hid.open("emulator:1");
    EXPECT_EQ(fresh->read(report.data(), 65, *wake), 65);
    EXPECT_EQ(fresh->write(report.data(), 64), -1) << "only whole reports are taken";
}

TEST_F(Emulated, PoweredOffTheBridgeStaysButNothingAnswers) {
    lcx.PowerOff();
    EXPECT_EQ(link.Exchange(kRead12, 500ms), std::nullopt);
    EXPECT_EQ(link.events, (std::vector<std::string>{"connect"}));
    EXPECT_TRUE(link.bridge.Reader()->Connected);
    lcx.PowerOn();
    EXPECT_EQ(link.Exchange(kRead12), Expected(kRead12));
}

TEST_F(Emulated, FaultsReachTheTransport) {
    lcx.SetFaults({.duplicateShare = 1});
    const Bytes good = Expected(kRead12);
    EXPECT_EQ(link.Exchange(kRead12), good);
    link.RunFor(200ms);
    ASSERT_EQ(link.frames.size(), 2u);
    EXPECT_EQ(link.frames[1], good) << "the same answer frame a second time";

    lcx.SetFaults({.corruptShare = 1});
    const auto corrupt = link.Exchange(kRead12);
    ASSERT_TRUE(corrupt);
    EXPECT_EQ(corrupt->size(), good.size());
    EXPECT_FALSE(CrcHolds(*corrupt));

    lcx.SetFaults({.dropShare = 1});
    EXPECT_EQ(link.Exchange(kRead12, 500ms), std::nullopt);

    lcx.SetFaults({});
    const auto fast = hid.now();
    ASSERT_TRUE(link.Exchange(kRead12));
    const auto plain = hid.now() - fast;
    lcx.SetFaults({.extraDelay = 250ms});
    const auto slow = hid.now();
    EXPECT_EQ(link.Exchange(kRead12, 200ms), std::nullopt) << "not within 200 ms";
    ASSERT_TRUE(link.RunUntil([&] { return link.frames.size() == 5; }, 200ms));
    EXPECT_GE(hid.now() - slow, plain + 250ms - 4ms);
    EXPECT_EQ(lcx.Stats().answers, 5u);
    EXPECT_EQ(lcx.Stats().dropped, 1u);
}

TEST_F(Emulated, TheAnswerTakesItsTimeOnTheLine) {
    link.RunFor(10ms);
    const auto start = hid.now();
    ASSERT_TRUE(link.Exchange(kRead24));
    const auto took = hid.now() - start;
    const Duration b = ByteTime(TPortFormat::_9600_8N2);
    EXPECT_GE(took, (8 + 53) * b + 3ms);  // the bytes both ways and the turnaround
    // Report ticks: the configuration and the data report wait for one each,
    // the answer for at most one, and its empty report follows.
    EXPECT_LE(took, (8 + 53) * b + 3ms + SilenceTime(TPortFormat::_9600_8N2) + 4 * 4ms);

    // At 38400 baud a quarter of the byte times.
    link.bridge.SetPortFormat(TPortFormat::_38400_8E1);
    const auto fast = hid.now();
    ASSERT_TRUE(link.Exchange(kRead24));
    EXPECT_LE(hid.now() - fast, (8 + 53 + 4) * b / 4 + 3ms + 4 * 4ms);
    EXPECT_EQ(lcx.LineFormat(), TPortFormat::_38400_8E1);
}

TEST_F(Emulated, SeveralDevicesAnswerEachForItself) {
    EmulatedLcx3& second = hid.AddDevice();
    second.SetHolding(0, 777);
    lcx.SetHolding(0, 111);
    Link other(hid, dispatcher);
    ASSERT_TRUE(other.bridge.OpenDevice(2));
    const auto one = link.Exchange(kRead1);
    const auto two = other.Exchange(kRead1);
    ASSERT_TRUE(one && two);
    EXPECT_EQ((*one)[3] << 8 | (*one)[4], 111);
    EXPECT_EQ((*two)[3] << 8 | (*two)[4], 777);
    EXPECT_EQ(other.bridge.GetSerialNumber(2), "LCX3-0002");
}

}  // namespace
}  // namespace vadero::emu
