// The pace of a loop check on the loop's virtual clock: every calibrator
// meets the others after its point, the next comes after the dwell for all
// at once, a calibrator that fails holds nobody, a stop cuts the dwell short.
#include "cli/Steps.h"

#include <gtest/gtest.h>

namespace vadero::cli {
namespace {

using namespace std::chrono_literals;

struct Seat {
    std::vector<std::chrono::milliseconds> commanded;  // when each point went out
};

// Seats that take `takes[k]` to command each of `points` points.
std::vector<Seat> Step(const std::vector<std::chrono::milliseconds>& takes, int points,
                       std::chrono::milliseconds dwell, int failsAt = -1, int stopAt = -1) {
    EventLoop loop(EventLoop::Time::Virtual);
    Stop stop;
    StepPacer pacer(loop, stop, dwell, nullptr, int(takes.size()));
    const auto start = loop.Now();
    std::vector<Seat> seats(takes.size());
    const auto run = [&](std::size_t s) -> Task<bool> {
        Waiter busy(loop);
        for (int k = 0; k < points; ++k) {
            co_await busy.Until(takes[s]);
            if (int(s) == 0 && k == failsAt) {
                pacer.Leave();
                co_return false;
            }
            seats[s].commanded.push_back(
                std::chrono::duration_cast<std::chrono::milliseconds>(loop.Now() - start));
            if (k == stopAt)
                stop.Request();
            const bool goOn = co_await pacer.Arrive("point");
            if (!goOn)
                break;
        }
        pacer.Leave();
        co_return true;
    };
    std::vector<Task<bool>> tasks;
    for (std::size_t s = 0; s < takes.size(); ++s) tasks.push_back(run(s));
    for (auto& t : tasks) t.Start();
    loop.RunUntil(
        [&] { return std::all_of(tasks.begin(), tasks.end(), [](auto& t) { return t.Done(); }); },
        1h);
    return seats;
}

using Times = std::vector<std::chrono::milliseconds>;

TEST(StepPacer, EveryPointComesForAllAfterTheSlowestAndTheDwell) {
    const auto seats = Step({10ms, 30ms}, 3, 1000ms);
    EXPECT_EQ(seats[0].commanded, (Times{10ms, 1040ms, 2070ms}));
    EXPECT_EQ(seats[1].commanded, (Times{30ms, 1060ms, 2090ms}));
}

TEST(StepPacer, ACalibratorThatFailsHoldsTheOthersNoMore) {
    const auto seats = Step({10ms, 30ms}, 3, 1000ms, 1);
    EXPECT_EQ(seats[0].commanded, (Times{10ms}));
    EXPECT_EQ(seats[1].commanded, (Times{30ms, 1060ms, 2090ms}));
}

TEST(StepPacer, AStopEndsTheDwellAndTheSteps) {
    const auto seats = Step({10ms}, 5, 30000ms, -1, 1);
    EXPECT_EQ(seats[0].commanded, (Times{10ms, 30020ms}));
}

}  // namespace
}  // namespace vadero::cli
