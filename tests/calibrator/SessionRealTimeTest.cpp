// The whole path in real time: the reader thread, the emulated calibrator on
// the real clock, the session on a loop timer of 750 ms.
#include <gtest/gtest.h>

#include "calibrator/EventLoop.h"
#include "calibrator/LCX.h"
#include "emulator/EmulatorHid.h"

namespace vadero {
namespace {

using namespace std::chrono_literals;
using emu::EmulatorHid;

TEST(SessionRealTime, ReadsWritesAndSurvivesAnUnplug) {
    EmulatorHid hid{EmulatorHid::Time::Real};
    emu::EmulatedLcx3& calibrator = hid.AddDevice();
    EventLoop loop;
    TLCX lcx{LCXEnv{TransportEnv{hid, loop}, loop}};
    std::vector<std::string> events;
    lcx.OnConnect = [&](TObject*) { events.push_back("connect"); };
    lcx.OnDisconnect = [&](TObject*) { events.push_back("disconnect"); };
    lcx.OnTimeOut = [&](TObject*) { events.push_back("time-out"); };
    lcx.OnReadAllCompleted = [&](TObject*) { events.push_back("read"); };
    lcx.OnWriteAllCompleted = [&](TObject*) { events.push_back("written"); };
    const auto seen = [&](const std::string& name, std::size_t count) {
        return [&, name, count] {
            return std::count(events.begin(), events.end(), name) >= long(count);
        };
    };

    ASSERT_TRUE(lcx.OpenDevice(1));
    ASSERT_TRUE(loop.RunUntil(seen("connect", 1), 2s));
    lcx.ReadAll();
    ASSERT_TRUE(loop.RunUntil(seen("read", 1), 5s));
    EXPECT_EQ(lcx.Params().Word(8), calibrator.Holding(8));

    lcx.Params().SetFilter(7);
    lcx.Params().SetMemory(Memory020mA, 3, 4321);
    lcx.WriteAll();
    ASSERT_TRUE(loop.RunUntil(seen("written", 1), 5s));
    EXPECT_EQ(calibrator.Holding(3), 7);
    EXPECT_EQ(calibrator.Holding(50), 4321);

    calibrator.SetHolding(11, 1);  // changed on the calibrator itself
    lcx.ReadAll();
    ASSERT_TRUE(loop.RunUntil(seen("read", 2), 5s));
    EXPECT_EQ(lcx.Params().Language(), 1);
    EXPECT_EQ(lcx.Params().Filter(), 7);

    lcx.ReadAll();
    calibrator.Unplug();
    ASSERT_TRUE(loop.RunUntil(seen("time-out", 1), 5s));
    const auto disconnect = std::find(events.begin(), events.end(), "disconnect");
    const auto timeOut = std::find(events.begin(), events.end(), "time-out");
    ASSERT_NE(disconnect, events.end());
    EXPECT_LT(disconnect, timeOut);
    calibrator.Plug();
    ASSERT_TRUE(loop.RunUntil(seen("connect", 2), 2s));
    lcx.CloseDevice();
}

}  // namespace
}  // namespace vadero
