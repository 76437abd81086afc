// Answers slower than a tick: the answer to a step's re-send arrives after the
// next step was sent. A write-all must not count it as the next block's answer
// and report completion while a block has not reached the calibrator.
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

}  // namespace
}  // namespace vadero
