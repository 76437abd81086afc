// When the line is free again after a request: at once for one sent once or
// answered as often as it was sent; otherwise one tick after the last send's
// answer was due, at the limit and a step before it.
#include "modbus/AnswerLedger.h"

#include <gtest/gtest.h>

#include <array>

namespace vadero::modbus {
namespace {

using namespace std::chrono_literals;
using Clock = AnswerLedger::Clock;
using Arrival = AnswerLedger::Arrival;

constexpr std::array<std::uint8_t, 3> kRequest{0x64, 3, 0};
constexpr std::array<std::uint8_t, 3> kOther{0x64, 4, 0};
constexpr auto kSlack = 75ms;  // a tenth of the tick

TEST(AnswerLedger, TheLineIsFreeOnceTheLastSendsAnswerCanNoLongerCome) {
    struct Case {
        const char* what;
        int sends;
        std::chrono::milliseconds answeredAfter;  // from the first send; 0: never
        int lateAnswers;                          // that came after it
        std::chrono::milliseconds freeAt;         // from the first send; 0: at once
    };
    const std::vector<Case> cases = {
        {"sent once, answered", 1, 30ms, 0, 0ms},
        {"sent once, never answered", 1, 0ms, 0, 0ms},
        {"sent twice, never answered: a tick after the last", 2, 0ms, 0, 1500ms},
        {"sent twice, answered 800 ms after the first", 2, 800ms, 0, 750ms + 800ms + 750ms},
        {"the same, its late answer in", 2, 800ms, 1, 0ms},
        {"sent three times, one late answer of two in", 3, 1600ms, 1, 1500ms + 1600ms + 750ms},
        {"answered long after it was given up", 3, 9000ms, 0, 1500ms + 2250ms + 750ms},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AnswerLedger ledger(750ms);
        const Clock::time_point t0{};
        for (int k = 0; k < c.sends; ++k) {
            EXPECT_EQ(ledger.IsResend(kRequest), k > 0);
            ledger.Sent(kRequest, t0 + k * 750ms);
        }
        if (c.answeredAfter > 0ms) {
            EXPECT_EQ(ledger.Received(), Arrival::Current);
            ledger.Answered(t0 + c.answeredAfter);
        }
        for (int k = 0; k < c.lateAnswers; ++k)
            EXPECT_EQ(ledger.Received(), k + 2 == c.sends ? Arrival::LastLate : Arrival::Late);
        if (c.freeAt == 0ms) {
            EXPECT_TRUE(ledger.Free(t0));
            continue;
        }
        EXPECT_FALSE(ledger.Free(t0 + c.freeAt - kSlack - 1ms));
        EXPECT_TRUE(ledger.Free(t0 + c.freeAt - kSlack));
        EXPECT_FALSE(ledger.IsResend(kOther));
    }
}

TEST(AnswerLedger, ARequestAnsweredOrMarkedNewIsNoResendOfItsBytes) {
    AnswerLedger ledger(750ms);
    const Clock::time_point t0{};
    ledger.Sent(kRequest, t0);
    EXPECT_TRUE(ledger.IsResend(kRequest));
    ledger.NewRequest();
    EXPECT_FALSE(ledger.IsResend(kRequest));
    ledger.Sent(kRequest, t0 + 750ms);
    EXPECT_EQ(ledger.Sends(), 1);
    ledger.Received();
    ledger.Answered(t0 + 800ms);
    EXPECT_FALSE(ledger.IsResend(kRequest));
}

}  // namespace
}  // namespace vadero::modbus
