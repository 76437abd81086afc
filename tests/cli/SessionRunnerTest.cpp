// The session runner against the emulated calibrator on the real clock.
#include "cli/SessionRunner.h"

#include <gtest/gtest.h>

#include <thread>

#include "emulator/EmulatorHid.h"

namespace vadero::cli {
namespace {

using namespace std::chrono_literals;

// A start slower than the tick (enumerating real USB devices can be) leaves
// the session's tick overdue when the first transfer begins; in fast pace the
// tick and the runner's own send must not both send the first request, or the
// two run together on the line and the calibrator hears one garbled frame.
TEST(SessionRunner, FastPaceAfterASlowStartSendsEachRequestOnce) {
    emu::EmulatorHid hid;
    hid.AddDevice();
    int sent = 0;
    RunnerHooks hooks;
    hooks.trace = [&sent](const std::string& text) {
        if (text.find("TX") != std::string::npos)
            ++sent;
    };
    SessionRunner runner(hid, Pace::Fast, hooks);
    ASSERT_EQ(runner.DeviceCount(), 1);
    ASSERT_TRUE(runner.Wait(runner.Open(1)));
    std::this_thread::sleep_for(TCustomLCX::kTick + 100ms);  // the loop does not run meanwhile
    EXPECT_TRUE(runner.Wait(runner.ReadAll()));
    EXPECT_EQ(sent, 3);
}

}  // namespace
}  // namespace vadero::cli
