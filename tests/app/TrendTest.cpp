// The trend of the measurement: a point per free tick in virtual time, a
// complete read that goes first, and a CSV that parses.
#include <gtest/gtest.h>
#include <QAction>
#include <QPushButton>
#include <algorithm>
#include <sstream>

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
