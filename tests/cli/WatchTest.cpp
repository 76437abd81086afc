// measure --watch on the loop's virtual clock: the count, the interval, a
// time-out that the watch goes on after, an unplug and a stop that end it.
#include "cli/Watch.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/ExitCodes.h"

namespace vadero::cli {
namespace {

using namespace std::chrono_literals;
using Clock = EventLoop::Clock;

struct Script {
    std::vector<Measurement> answers;  // in turn; the last one repeats
    std::chrono::milliseconds takes{40};
};

struct Watched {
    int status = -1;
    std::vector<std::chrono::milliseconds> at;  // lines, from the start
    std::vector<bool> answered;
};

Watched RunWatch(const Script& script, WatchSettings settings, int stopAfterLines = 0) {
    EventLoop loop(EventLoop::Time::Virtual);
    Stop stop;
    Waiter line(loop);
    std::size_t asked = 0;
    const Measure measure = [&]() -> Task<Measurement> {
        Waiter busy(loop);
        co_await busy.Until(script.takes);
        co_return script.answers[std::min(asked++, script.answers.size() - 1)];
    };
    const auto start = loop.Now();
    Watched w;
    const WatchLine print = [&](Clock::time_point t, const Measurement& m) {
        w.at.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(t - start));
        w.answered.push_back(m.answered);
        if (stopAfterLines != 0 && int(w.at.size()) == stopAfterLines)
            stop.Request();  // as Ctrl-C during the next pause
    };
    Task<int> task = Watch(loop, measure, settings, print, stop);
    task.Start();
    loop.RunUntil([&task] { return task.Done(); }, 24h);
    w.status = task.Result();
    return w;
}

Measurement Answer() {
    Measurement m;
    m.answered = true;
    m.raw = 14000;
    m.value = 10;
    return m;
}

TEST(Watch, CountAndIntervalAreKept) {
    const Watched w = RunWatch({{Answer()}}, {1000ms, 4});
    EXPECT_EQ(w.status, kOk);
    EXPECT_EQ(w.at, (std::vector<std::chrono::milliseconds>{0ms, 1000ms, 2000ms, 3000ms}));
    // No pause at all: one measurement after the other, as fast as they answer.
    const Watched fast = RunWatch({{Answer()}, 40ms}, {0ms, 3});
    EXPECT_EQ(fast.at, (std::vector<std::chrono::milliseconds>{0ms, 40ms, 80ms}));
    // A measurement slower than the interval: the next starts at once.
    const Watched slow = RunWatch({{Answer()}, 1500ms}, {1000ms, 2});
    EXPECT_EQ(slow.at, (std::vector<std::chrono::milliseconds>{0ms, 1500ms}));
}

TEST(Watch, ANoAnswerIsALineAndTheWatchGoesOn) {
    const Watched w = RunWatch({{Answer(), Measurement{}, Answer()}}, {750ms, 3});
    EXPECT_EQ(w.status, kOk);
    EXPECT_EQ(w.answered, (std::vector<bool>{true, false, true}));
}

TEST(Watch, AnUnplugEndsItAsGone) {
    Measurement gone;
    gone.gone = true;
    const Watched w = RunWatch({{Answer(), Answer(), gone}}, {750ms, 0});
    EXPECT_EQ(w.status, kNoDevice);
    EXPECT_EQ(w.at.size(), 2u);
}

TEST(Watch, AStopEndsThePauseAtOnceAndAfterTheMeasurementInProgress) {
    const Watched w = RunWatch({{Answer()}}, {10000ms, 0}, 2);
    EXPECT_EQ(w.status, kOk);
    EXPECT_EQ(w.at, (std::vector<std::chrono::milliseconds>{0ms, 10000ms}));
}

TEST(WatchLines, TextCsvAndJson) {
    Measurement above = Answer();
    above.state = 1;
    above.raw = 30801;
    const std::string t = "2026-12-09T10:00:00.250+01:00";
    LineLayout layout{LineFormat::Text, "", "mA", 3};
    EXPECT_EQ(FormatLine(layout, t, Answer()), t + "  10.000 mA  raw 14000\n");
    EXPECT_EQ(FormatLine(layout, t, above), t + "  Dep+  raw 30801\n");
    layout.format = LineFormat::Csv;
    layout.serial = "LCX3-0002";
    EXPECT_EQ(FormatLine(layout, t, Answer()), t + ",LCX3-0002,10.000,mA,14000,ok\n");
    EXPECT_EQ(FormatLine(layout, t, Measurement{}), t + ",LCX3-0002,,,,no answer\n");
    layout.format = LineFormat::Json;
    layout.decimals = 1;
    const auto doc = nlohmann::json::parse(FormatLine(layout, t, above));
    EXPECT_EQ(doc["status"], "above");
    EXPECT_EQ(doc["serial"], "LCX3-0002");
    EXPECT_EQ(doc["time"], t);
    EXPECT_EQ(IsoLocalTime(std::chrono::system_clock::time_point{}).size(), t.size());
}

}  // namespace
}  // namespace vadero::cli
