// The demo's panel: its "Registres" view shows what the emulated calibrator
// holds after the window writes, marking what the write touched, and the
// panel opens beside the main window leaving the keyboard to it.
#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>
#include <QTreeView>

#include "app/demo/DemoPanel.h"
#include "app/demo/DemoWindows.h"
#include "calibrator/RegisterMap.h"
#include "tests/app/WindowHarness.h"

namespace vadero {
namespace {

QString Cell(const RegisterTable& table, int row, int column) {
    return table.data(table.index(row, column), Qt::DisplayRole).toString();
}

TEST(DemoPanel, TheRegistersShowWhatTheWriteStored) {
    test::WindowHarness w(1);
    TForm1& f = w.form();
    DemoPanel panel(w.hid);
    w.ConnectAndLoad();
    panel.Refresh();
    const int filter = w.device().Holding(reg::kFilter) == 7 ? 8 : 7;
    f.LCX1().Params().SetFilter(std::uint16_t(filter));
    f.BtnWriteAllClick();
    ASSERT_TRUE(w.TickUntil([&] { return f.StatusText() == "Ecriture des paramètres terminée"; }));
    panel.Refresh();

    ASSERT_EQ(w.device().Holding(reg::kFilter), filter);
    const RegisterTable& table = panel.Registers();
    ASSERT_EQ(table.rowCount(), kRegisterCount);
    for (int k = 0; k < kRegisterCount; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(Cell(table, k, RegisterTable::ColAddress), QString::number(k));
        EXPECT_EQ(Cell(table, k, RegisterTable::ColValue), QString::number(w.device().Holding(k)));
        EXPECT_EQ(Cell(table, k, RegisterTable::ColWrites),
                  QString::number(w.device().WriteCount(k)));
        EXPECT_EQ(table.Marked(k), IsWritten(k));
        EXPECT_EQ(table.Changed(k), k == reg::kFilter);
    }
    EXPECT_TRUE(Cell(table, reg::kFilter, RegisterTable::ColMeaning)
                    .startsWith(QString("filtre %1 (").arg(filter)));
}

TEST(DemoPanel, AWritesBlocksAreOneBurst) {
    RegisterTable table;
    emu::RegisterBank bank = emu::FactoryBank();
    emu::WriteCounts writes{};
    table.Show(bank, writes, 0);  // what it holds at the start is no change
    for (int k = 0; k < kRegisterCount; ++k) EXPECT_FALSE(table.Marked(k));

    struct Step {
        qint64 ms;
        int address;  // written with a new value
        std::vector<int> marked;
    };
    constexpr qint64 gap = RegisterTable::kBurstGapMs;
    const std::vector<Step> steps{
        {1000, 3, {3}},
        {1000 + gap, 16, {3, 16}},             // at the gap: the same burst
        {1000 + 2 * gap + 1, 48, {48}},        // one past: a new one
        {1000 + 2 * gap + 1 + 500, -1, {48}},  // nothing changed: the marks stay
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.ms);
        if (step.address >= 0) {
            ++bank.holding[std::size_t(step.address)];
            ++writes[std::size_t(step.address)];
        }
        table.Show(bank, writes, step.ms);
        for (int k = 0; k < kRegisterCount; ++k)
            EXPECT_EQ(table.Marked(k), std::count(step.marked.begin(), step.marked.end(), k) == 1)
                << k;
    }
    // Another calibrator, holding the same: no mark, and its next write is marked.
    table.Restart();
    table.Show(bank, writes, 20000);
    EXPECT_FALSE(table.Marked(48));
    ++writes[3];
    table.Show(bank, writes, 20250);
    EXPECT_TRUE(table.Marked(3));
    EXPECT_FALSE(table.Changed(3));
}

TEST(DemoPanel, BesideTheMainWindowWhichKeepsTheKeyboard) {
    test::WindowHarness w(1);
    DemoPanel panel(w.hid);
    w.form().hide();
    ShowBeside(w.form(), panel);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.form()));
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &w.form());
    EXPECT_FALSE(panel.frameGeometry().intersects(w.form().frameGeometry()));
}

}  // namespace
}  // namespace vadero
