// The session's transfers on a hand-fired tick against the emulated calibrator
// in virtual time: nothing sleeps, every run is the same.
#include <gtest/gtest.h>

#include "calibrator/LCX.h"
#include "emulator/EmulatorHid.h"
#include "tests/support/ManualDispatcher.h"
#include "tests/support/ManualDrive.h"
#include "tests/support/ManualTimer.h"

namespace vadero {
namespace {

using namespace std::chrono_literals;
using emu::EmulatorHid;

class Session : public ::testing::Test {
  protected:
    EmulatorHid hid{EmulatorHid::Time::Virtual};
    emu::EmulatedLcx3& calibrator = hid.AddDevice();
    ManualDispatcher dispatcher;
    ManualTimerFactory timers;
    TLCX lcx{LCXEnv{TransportEnv{hid, dispatcher, ReaderMode::Manual}, timers}};
    test::ManualDrive drive{hid, dispatcher};
    std::vector<std::string> log;  // events and requests, in order
    std::vector<std::string> requests;

    void SetUp() override {
        lcx.TxDebugStream = [this](TObject* sender, const std::string& text) {
            EXPECT_EQ(sender, &lcx.Master());
            requests.push_back(text);
            log.push_back(text);
        };
        const auto record = [this](const char* name, TObject* expected) {
            return [this, name, expected](TObject* sender) {
                EXPECT_EQ(sender, expected) << name;
                log.push_back(name);
            };
        };
        TObject* timer = &lcx.PollTimer();
        TObject* master = &lcx.Master();
        lcx.OnConnect = record("connect", &lcx);
        lcx.OnDisconnect = record("disconnect", &lcx);
        lcx.OnReadAllCompleted = record("read-all-completed", timer);
        lcx.OnTimeOut = record("time-out", timer);
        lcx.OnWriteAllCompleted = record("write-all-completed", master);
        lcx.OnReadOutput = record("read-output", master);
        lcx.OnReadMeasure = record("read-measure", master);
        lcx.OnWordBlockWriting = record("block-written", master);
        lcx.OnLoadProgressEvent = [this](int p) { log.push_back("load " + std::to_string(p)); };
        lcx.OnSaveProgressEvent = [this](int p) { log.push_back("save " + std::to_string(p)); };
        ASSERT_EQ(lcx.DeviceCount(), 1);
        ASSERT_TRUE(lcx.OpenDevice(1));
        drive.RunFor(lcx.Master().Reader(), 20ms);
        ASSERT_EQ(log, (std::vector<std::string>{"connect"}));
        log.clear();
    }

    // One tick, then the time until the next one, answers included.
    void tick() {
        log.push_back("tick");
        timers.Last()->Fire();
        drive.RunFor(lcx.Master().Reader(), 750ms);
    }
    std::vector<std::string> events() const {
        std::vector<std::string> out;
        for (const auto& e : log)
            if (e.rfind("TX", 0) != 0)
                out.push_back(e);
        return out;
    }
};

TEST_F(Session, ReadAllReadsThreeBlocksOnConsecutiveTicks) {
    EXPECT_EQ(timers.Last()->Interval(), 750ms);
    lcx.ReadAll();
    EXPECT_TRUE(requests.empty());  // nothing leaves before the tick
    for (int i = 0; i < 4; ++i) tick();
    EXPECT_EQ(requests, (std::vector<std::string>{"TX : 64 03 00 00 00 0C 4C 3A ",
                                                  "TX : 64 03 00 10 00 08 4C 3C ",
                                                  "TX : 64 03 00 30 00 18 4C 3A "}));
    EXPECT_EQ(events(), (std::vector<std::string>{"tick", "load 15", "tick", "load 32", "tick",
                                                  "load 100", "tick", "read-all-completed"}));
    EXPECT_EQ(lcx.Step(), StepIdle);
    for (int k = 0; k < TLCXParams::kCount; ++k) {
        if (!IsTransferred(k))
            continue;
        std::uint16_t expected = calibrator.Holding(k);
        if (k == reg::kLoopPower)
            expected &= kLoopPowerOn;
        EXPECT_EQ(lcx.Params().Word(k), expected) << "register " << k;
    }
}

TEST_F(Session, ReadAllKeepsOnlyTheLoopPowerBit) {
    for (const auto& [sent, kept] : {std::pair{1, 0}, std::pair{3, 2}, std::pair{2, 2}}) {
        calibrator.SetHolding(2, static_cast<std::uint16_t>(sent));
        lcx.ReadAll();
        for (int i = 0; i < 4; ++i) tick();
        EXPECT_EQ(lcx.Params().LoopPower(), kept) << "sent " << sent;
    }
}

TEST_F(Session, WriteAllSendsThreeBlocksAndTheCalibratorHoldsTheSet) {
    lcx.ReadAll();
    for (int i = 0; i < 4; ++i) tick();
    const emu::RegisterBank before = calibrator.Bank();
    log.clear();
    requests.clear();

    TLCXParams& p = lcx.Params();
    p.SetLoopPower(1);
    p.SetFilter(5);
    p.SetUserFullScale(250.5f);
    p.SetRampTime(3, 42);
    p.SetMemory(Memory010V, 8, 12345);
    lcx.WriteAll();
    EXPECT_EQ(p.LoopPower(), 2);
    for (int i = 0; i < 3; ++i) tick();
    EXPECT_EQ(events(), (std::vector<std::string>{"tick", "save 16", "block-written", "tick",
                                                  "save 33", "block-written", "tick", "save 101",
                                                  "write-all-completed", "block-written"}));
    tick();
    EXPECT_EQ(requests.size(), 3u);  // nothing after the completion
    for (int k = 0; k < TLCXParams::kCount; ++k) {
        if (!IsWritten(k)) {
            EXPECT_EQ(calibrator.Holding(k), before.holding[static_cast<std::size_t>(k)]) << k;
            EXPECT_EQ(calibrator.WriteCount(k), 0u) << "register " << k << " was written";
        } else {
            EXPECT_EQ(calibrator.Holding(k), p.Word(k)) << "register " << k;
        }
    }
    EXPECT_EQ(calibrator.Holding(2), 2);
}

TEST_F(Session, AnUnansweredStepTimesOutAtTheThirdTick) {
    calibrator.PowerOff();
    lcx.ReadAll();
    for (int i = 0; i < 5; ++i) tick();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0], requests[1]);
    EXPECT_EQ(requests[1], requests[2]);
    EXPECT_EQ(events(),
              (std::vector<std::string>{"tick", "tick", "tick", "time-out", "tick", "tick"}));
    EXPECT_EQ(lcx.Step(), StepIdle);
}

TEST_F(Session, ALateAnswerAfterTheTimeOutStillMovesTheReadOn) {
    emu::Faults slow;
    slow.extraDelay = 1600ms;  // the first send's answer comes after the third tick
    calibrator.SetFaults(slow);
    lcx.ReadAll();
    tick();
    tick();
    timers.Last()->Fire();
    EXPECT_EQ(events().back(), "time-out");
    calibrator.SetFaults({});
    log.clear();
    requests.clear();
    drive.RunFor(lcx.Master().Reader(), 750ms);
    EXPECT_EQ(events(), (std::vector<std::string>{"read-output", "load 15"}));
    // The second block waits at each tick until the answers to the first
    // block's re-sends are in, and those are dropped.
    std::uint64_t droppedBefore = 0;
    for (int i = 0; i < 5 && requests.empty(); ++i) {
        droppedBefore = lcx.Master().LateAnswersDropped();
        tick();
    }
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], "TX : 64 03 00 10 00 08 4C 3C ");
    EXPECT_EQ(droppedBefore, 2u);
}

TEST_F(Session, ReadMeasureKeepsTheSignedValue) {
    calibrator.SetHolding(1, 3);  // measure current
    calibrator.SetMeasuredInput(-200);
    lcx.ReadMeasure();
    tick();
    EXPECT_EQ(requests, (std::vector<std::string>{"TX : 64 04 00 00 00 01 38 3F "}));
    EXPECT_EQ(events(), (std::vector<std::string>{"tick", "read-measure"}));
    EXPECT_EQ(lcx.MeasureRaw(), -200);
    EXPECT_EQ(lcx.Step(), StepIdle);
}

TEST_F(Session, SetOutputWritesRegistersZeroToTwo) {
    lcx.Params().SetRange(0);
    lcx.Params().SetLoopPower(0);
    lcx.SetOutput(TValueUnit::uPhysical, 12);
    EXPECT_EQ(lcx.Params().OutputValue(), 16800);
    tick();
    EXPECT_EQ(events(), (std::vector<std::string>{"tick", "block-written"}));
    EXPECT_EQ(lcx.Step(), StepIdle);
    EXPECT_EQ(calibrator.Holding(0), 16800);
    EXPECT_EQ(calibrator.Input(0), 16800);  // generated, so measured back
    lcx.ReadOutput();
    tick();
    EXPECT_EQ(events().back(), "read-output");
    EXPECT_EQ(requests.back(), "TX : 64 03 00 00 00 01 8D FF ");
}

TEST_F(Session, ReadOutputAbandonsARunningWriteAll) {
    lcx.WriteAll();
    tick();
    lcx.ReadOutput();
    for (int i = 0; i < 3; ++i) tick();
    const auto e = events();
    EXPECT_EQ(std::count(e.begin(), e.end(), "write-all-completed"), 0);
    EXPECT_EQ(std::count(e.begin(), e.end(), "read-output"), 1);
    EXPECT_EQ(requests.size(), 2u);
}

TEST_F(Session, StartingWithoutADeviceTimesOut) {
    hid.Device(1).Unplug();
    drive.RunFor(lcx.Master().Reader(), 200ms);
    EXPECT_EQ(events(), (std::vector<std::string>{"disconnect"}));
    log.clear();
    lcx.ReadMeasure();
    for (int i = 0; i < 3; ++i) tick();
    EXPECT_EQ(events(), (std::vector<std::string>{"tick", "tick", "tick", "time-out"}));
    EXPECT_EQ(requests.size(), 3u);  // sent into the void
}

}  // namespace
}  // namespace vadero
