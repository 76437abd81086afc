// Answers slower than a tick: the answer to a step's re-send would arrive
// after the next step was sent. A write-all must not count it as the next
// block's answer and report completion while a block has not reached the
// calibrator, and a measurement must not take the one before it.
#include <gtest/gtest.h>

#include "calibrator/LCX.h"
#include "emulator/EmulatorHid.h"
#include "tests/support/ManualDispatcher.h"
#include "tests/support/ManualDrive.h"
#include "tests/support/ManualTimer.h"

namespace vadero {
namespace {

using namespace std::chrono_literals;

TEST(SessionStaleAnswer, WriteAllCompletesOnlyWithEveryBlockWritten) {
    emu::EmulatorHid hid{emu::EmulatorHid::Time::Virtual};
    emu::EmulatedLcx3& calibrator = hid.AddDevice();
    ManualDispatcher dispatcher;
    ManualTimerFactory timers;
    TLCX lcx{LCXEnv{TransportEnv{hid, dispatcher, ReaderMode::Manual}, timers}};
    test::ManualDrive drive{hid, dispatcher};
    ASSERT_TRUE(lcx.OpenDevice(1));
    drive.RunFor(lcx.Master().Reader(), 20ms);

    // Each answer comes just after the following tick: the first block's
    // re-send is answered after the second block went out, and so on.
    emu::Faults slow;
    slow.extraDelay = 770ms;
    calibrator.SetFaults(slow);
    constexpr RegisterBlock kLast = kWriteAllBlocks.back();
    for (int k = kLast.first; k <= kLast.Last(); ++k)
        lcx.Params().SetWord(k, static_cast<std::uint16_t>(1000 + k));
    int completions = 0;
    bool lastBlockHeld = false;
    lcx.OnWriteAllCompleted = [&](TObject*) {
        ++completions;
        lastBlockHeld = calibrator.WriteCount(kLast.first) > 0 &&
                        calibrator.Holding(kLast.Last()) == 1000 + kLast.Last();
    };
    lcx.WriteAll();
    for (int i = 0; i < 12 && completions == 0 && lcx.Step() != StepIdle; ++i) {
        timers.Last()->Fire();
        drive.RunFor(lcx.Master().Reader(), 750ms);
    }
    EXPECT_TRUE(completions == 0 || lastBlockHeld) << "completed before the last block was written";
    drive.RunFor(lcx.Master().Reader(), 2s);
    EXPECT_LE(completions, 1);
    EXPECT_TRUE(completions == 0 || calibrator.Holding(kLast.Last()) == 1000 + kLast.Last());
}

// The measured input counts the requests the calibrator heard, so an answer
// carries the count at its own send: a measurement that took the answer to
// the last one's re-send would be one behind.
TEST(SessionStaleAnswer, EachMeasurementIsTheAnswerToItsOwnRequest) {
    emu::EmulatorHid hid{emu::EmulatorHid::Time::Virtual};
    emu::EmulatedLcx3& calibrator = hid.AddDevice();
    ManualDispatcher dispatcher;
    ManualTimerFactory timers;
    TLCX lcx{LCXEnv{TransportEnv{hid, dispatcher, ReaderMode::Manual}, timers}};
    test::ManualDrive drive{hid, dispatcher};
    ASSERT_TRUE(lcx.OpenDevice(1));
    drive.RunFor(lcx.Master().Reader(), 20ms);
    calibrator.SetHolding(1, 3);  // measure current
    calibrator.SetMeasuredInput(0);
    emu::Faults late;
    late.extraDelay = 800ms;  // each measurement sent twice, each send answered
    calibrator.SetFaults(late);
    std::vector<int> measured;
    lcx.OnReadMeasure = [&](TObject*) {
        measured.push_back(lcx.MeasureRaw());
        if (measured.size() < 3)
            lcx.ReadMeasure();
    };
    lcx.ReadMeasure();
    for (int i = 0; i < 12 && measured.size() < 3; ++i) {
        timers.Last()->Fire();
        for (int k = 0; k < 15; ++k) {
            drive.RunFor(lcx.Master().Reader(), 50ms);
            calibrator.SetMeasuredInput(std::int16_t(calibrator.Stats().requests));
        }
    }
    EXPECT_EQ(measured, (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(lcx.Master().LateAnswersDropped(), 2u);
}

}  // namespace
}  // namespace vadero
