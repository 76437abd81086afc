// The traffic window's list: the frames of a complete read in order, with the
// session's own texts, and its limit of 10,000 frames.
#include <gtest/gtest.h>

#include "app/traffic/TrafficWindow.h"
#include "tests/app/WindowHarness.h"

namespace vadero {
namespace {

TEST(TrafficLog, ACompleteReadIsListedRequestThenAnswer) {
    test::WindowHarness w(1);
    w.ConnectAndLoad();
    const auto& frames = w.form().Trafic->Log().Frames();
    ASSERT_GE(frames.size(), 6U);
    EXPECT_EQ(frames[0].text.rfind("TX : 64 03 00 00 00 0C", 0), 0U) << frames[0].text;
    for (std::size_t k = 0; k < frames.size(); ++k) {
        EXPECT_EQ(frames[k].sent, k % 2 == 0) << k;
        EXPECT_EQ(frames[k].text.rfind(frames[k].sent ? "TX : 64 " : "RX : 64 ", 0), 0U);
        if (k > 0) {
            EXPECT_GE(frames[k].ms, frames[k - 1].ms);
        }
    }
}

TEST(TrafficLog, KeepsTheLastTenThousandAndAPauseLosesNothing) {
    TrafficLog log(100);
    for (int k = 0; k < TrafficLog::kCapacity; ++k) log.Add(true, "TX : " + std::to_string(k));
    EXPECT_EQ(log.rowCount(), TrafficLog::kCapacity);
    EXPECT_EQ(log.Frames().front().text, "TX : 0");
    log.SetPaused(true);
    log.Add(false, "RX : last");
    EXPECT_EQ(log.Frames().back().text, "TX : 9999");
    log.SetPaused(false);
    EXPECT_EQ(log.rowCount(), TrafficLog::kCapacity);
    EXPECT_EQ(log.Frames().front().text, "TX : 1");
    EXPECT_EQ(log.Frames().back().text, "RX : last");
}

}  // namespace
}  // namespace vadero
