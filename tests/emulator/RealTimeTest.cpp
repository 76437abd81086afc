// The emulator on the real clock with the real reader thread: the line time
// of an answer, and a reader that is never held by a silent device.
#include <gtest/gtest.h>

#include "emulator/EmulatorHid.h"
#include "tests/support/ManualDispatcher.h"
#include "tests/support/ManualDrive.h"
#include "transport/HIDSerial.h"

namespace vadero::emu {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kBound = 2s;  // generous bound for real threads
const Bytes kRead24{0x64, 0x03, 0x00, 0x30, 0x00, 0x18, 0x4C, 0x3A};

TEST(RealTime, AnAnswerOfTwentyFourRegistersTakesItsLineTime) {
    EmulatorHid hid;
    ManualDispatcher dispatcher;
    EmulatedLcx3& lcx = hid.AddDevice();
    THIDSerial bridge{TransportEnv{hid, dispatcher}};
    std::vector<Bytes> frames;
    bool connected = false;
    bridge.OnConnect = [&](TObject*) { connected = true; };
    bridge.OnRXFrame = [&](TObject*) {
        frames.emplace_back(bridge.RxData().begin(), bridge.RxData().end());
    };
    ASSERT_TRUE(bridge.OpenDevice(1));
    ASSERT_TRUE(test::PumpUntil(
        dispatcher, [&] { return connected; }, kBound));
    bridge.SetConfigBit6(true);

    const auto handedOver = Clock::now();
    ASSERT_TRUE(bridge.SendBytes(kRead24.data(), static_cast<unsigned>(kRead24.size())));
    ASSERT_TRUE(test::PumpUntil(
        dispatcher, [&] { return !frames.empty(); }, kBound));
    const auto took = Clock::now() - handedOver;
    EXPECT_GE(took, (8 + 53) * ByteTime(TPortFormat::_9600_8N2));
    EXPECT_GE(took, 69900us);
    RegisterBank bank = lcx.Bank();  // read while the reader runs
    EXPECT_EQ(frames[0], Serve(kRead24, bank).answer);
    bridge.CloseDevice();
}

TEST(RealTime, ASilentDeviceHoldsNeitherARetargetNorTheStop) {
    EmulatorHid hid;
    ManualDispatcher dispatcher;
    hid.AddDevice({.reportInterval = std::chrono::seconds(60)});
    hid.AddDevice({.reportInterval = std::chrono::seconds(60)});
    THIDSerial bridge{TransportEnv{hid, dispatcher}};
    bool connected = false;
    bridge.OnConnect = [&](TObject*) { connected = true; };
    ASSERT_TRUE(bridge.OpenDevice(1));
    ASSERT_TRUE(test::PumpUntil(
        dispatcher, [&] { return connected; }, kBound));

    // The reader now waits for a report a minute away; the wake ends the wait.
    const auto start = Clock::now();
    ASSERT_TRUE(bridge.OpenDevice(2));
    EXPECT_EQ(bridge.Reader()->DevicePath, "emulator:2");
    bridge.CloseDevice();
    EXPECT_LT(Clock::now() - start, kBound);
    EXPECT_EQ(bridge.Reader(), nullptr);
}

}  // namespace
}  // namespace vadero::emu
