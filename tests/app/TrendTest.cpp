// The trend of the measurement: a point per free tick in virtual time, a
// complete read that goes first, and a CSV that parses.
#include <gtest/gtest.h>
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <sstream>

#include "app/trend/TrendSpan.h"
#include "app/trend/TrendWindow.h"
#include "tests/app/WindowHarness.h"

namespace vadero {
namespace {

using namespace std::chrono_literals;

TEST(Trend, OnePointPerTickYieldingToACompleteRead) {
    test::WindowHarness w(1);
    TForm1& f = w.form();
    w.ConnectAndLoad();
    f.ActTendance->trigger();
    const auto& points = f.Tendance->Series().Points();
    for (int k = 0; k < 5; ++k) w.Tick();
    w.Run(50ms);
    const std::size_t before = points.size();
    EXPECT_GE(before, 4U);
    EXPECT_LE(before, 5U);

    f.BtnReadAllClick();
    ASSERT_TRUE(w.TickUntil([&] { return f.StatusText() == "Lecture des paramètres termiée"; }));
    EXPECT_LE(points.size(), before + 1);  // at most the one on the line when it started
    const std::size_t afterRead = points.size();
    // The session's own steps after a read (the output read back) go first too.
    for (int k = 0; k < 8; ++k) {
        w.Tick();
        w.Run(20ms);
    }
    EXPECT_GE(points.size(), afterRead + 3);

    EXPECT_TRUE(f.Tendance->LblStats->text().contains(QString("(%1 mesures)").arg(points.size())))
        << f.Tendance->LblStats->text().toStdString();

    f.Tendance->BtnPause->click();
    const std::size_t paused = points.size();
    for (int k = 0; k < 3; ++k) w.Tick();
    w.Run(50ms);
    EXPECT_LE(points.size(), paused + 1);

    std::istringstream csv(f.Tendance->Series().Csv());
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "time,value,unit,raw");
    std::size_t rows = 0;
    while (std::getline(csv, line)) {
        ++rows;
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 3) << line;
    }
    EXPECT_EQ(rows, points.size());
}

}  // namespace
}  // namespace vadero

namespace vadero {
namespace {

// A point in 4-20 mA (unit mA), or in 0-10 V, of `value` (code 1 for Dep+).
TrendPoint At(qint64 ms, float value, int range = rgGenerate420mA, std::uint8_t code = 0) {
    return {ms, 0, range, value, code};
}

struct SpanCase {
    const char* name;
    std::deque<TrendPoint> points;
    qint64 start;
    qint64 end;
    int count;  // values in the figures
    int overruns;
    float minimum;
    float maximum;
    double mean;
};

TEST(TrendSpan, FromTheFirstPointToTheLatestWithinTenMinutes) {
    constexpr qint64 t = 1'000'000'000;
    constexpr qint64 w = kTrendWindowMs;
    constexpr qint64 least = kTrendLeastSpanMs;
    const std::vector<SpanCase> cases{
        {"one point: the least span", {At(t, 4)}, t, t + least, 1, 0, 4, 4, 4},
        {"as long as the least span", {At(t, 4), At(t + least, 6)}, t, t + least, 2, 0, 4, 6, 5},
        {"longer than the least",
         {At(t, 4), At(t + least + 1, 6)},
         t,
         t + least + 1,
         2,
         0,
         4,
         6,
         5},
        {"the window's oldest point is taken", {At(t, 8), At(t + w, 4)}, t, t + w, 2, 0, 4, 8, 6},
        {"one millisecond older is left out",
         {At(t - 1, 8), At(t, 5), At(t + w, 4)},
         t,
         t + w,
         2,
         0,
         4,
         5,
         4.5},
        {"another unit before is left out",
         {At(t, 20), At(t + 1000, 2, rgGenerate010V)},
         t + 1000,
         t + 1000 + least,
         1,
         0,
         2,
         2,
         2},
        {"overruns are counted apart",
         {At(t, 4), At(t + 750, 22, rgGenerate420mA, 1), At(t + 1500, 6)},
         t,
         t + least,
         2,
         1,
         4,
         6,
         5},
    };
    for (const SpanCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TrendSpan span = SpanOf(c.points);
        EXPECT_EQ(span.start, c.start);
        EXPECT_EQ(span.end, c.end);
        const TrendStats stats = StatsOf(span);
        EXPECT_EQ(stats.count, c.count);
        EXPECT_EQ(stats.overruns, c.overruns);
        EXPECT_FLOAT_EQ(stats.minimum, c.minimum);
        EXPECT_FLOAT_EQ(stats.maximum, c.maximum);
        EXPECT_DOUBLE_EQ(stats.mean, c.mean);
    }
}

}  // namespace
}  // namespace vadero
