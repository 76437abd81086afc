// The ramp page: the curve of the stored profile, the grid cells taken when
// their text is committed, drags of the curve's points, and the grid check box.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "app/pages/RampPage.h"
#include "app/pages/RampProfile.h"
#include "app/pages/StringGrid.h"
#include "tests/app/PageHarness.h"
#include "tests/app/pages/PageTestSupport.h"
#include "widgets/WinDraw.h"

namespace vadero::test {
namespace {

class RampPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(425, 340);
        page->setGeometry(0, 0, 425, 297);
        elsewhere->setGeometry(0, 310, 100, 21);
        draw().Trace()->Timer()->stop();
        page->WriteGridHeaders();
    }

    TLCXParams& params() { return host.lcx.Params(); }
    TWinDraw& draw() { return Child<TWinDraw>(*page, "Draw1"); }
    StringGrid& grid(const char* name) { return Child<StringGrid>(*page, name); }

    // D = 10, t = 20, 10, 20, 10, L1 = 0 %, L2 = 100 % in the 0-20 mA range.
    void LoadExample() {
        params().SetRange(0);
        params().SetRampDelay(10);
        const std::uint16_t times[] = {20, 10, 20, 10};
        for (int i = 1; i <= 4; ++i) params().SetRampTime(i, times[i - 1]);
        host.lcx.SetLevel(TValueUnit::uPercent, 1, 0);
        host.lcx.SetLevel(TValueUnit::uPercent, 2, 100);
        params().SetRampRepeat(3);
        page->ShowRamp();
    }

    void ShowWindow() {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // Opens the cell's editor, types over its text and commits it with Enter:
    // the focus stays in the grid.
    void TypeIntoCell(StringGrid& g, int col, const QString& text) {
        g.setFocus();
        g.setCurrentCell(1, col);
        g.editItem(g.item(1, col));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(g.isAncestorOf(editor));
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // Return commits through the event queue
    }
    void LeaveGrid() { elsewhere->setFocus(); }

    float px(int k) { return draw().Points[static_cast<std::size_t>(k)].X; }
    float py(int k) { return draw().Points[static_cast<std::size_t>(k)].Y; }

    bool Change(int seg, float x, float y) {
        bool allow = true;
        float vx = x;
        float vy = y;
        page->Draw1ChangeValue(&draw(), seg, vx, vy, allow);
        EXPECT_EQ(vx, x);
        EXPECT_EQ(vy, y);
        return allow;
    }

    void Mouse(QEvent::Type type, QPoint pos, Qt::MouseButtons held) {
        TTrace& trace = *draw().Trace();
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(pos), QPointF(trace.mapToGlobal(pos)), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(&trace, &event);
    }
    QPoint PixelOf(float x, float y) {
        const TTrace& trace = *draw().Trace();
        return {trace.WorldToPixelX(x), trace.WorldToPixelY(y)};
    }
    void DragMouse(int point, QPoint to) {
        const QPoint from = PixelOf(px(point), py(point));
        Mouse(QEvent::MouseMove, from, Qt::NoButton);
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        Mouse(QEvent::MouseMove, to, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

    LocaleScope locale;
    PageHarness host;
    QWidget window;
    RampPage* page = new RampPage(host, &window);
    QLineEdit* elsewhere = new QLineEdit(&window);
};

TEST_F(RampPageTest, ControlsAndHeaders) {
    EXPECT_EQ(page->objectName(), "TabCrawl");
    EXPECT_EQ(draw().geometry(), QRect(8, 8, 409, 145));
    EXPECT_EQ(draw().Caption(), "Première rampe");
    EXPECT_EQ(draw().SnapGrid(), TGStyle::gVertical);
    EXPECT_EQ(draw().ShowAxes(), TGStyle::gBoth);
    EXPECT_EQ(draw().ScrollBars(), TScrollStyle::ssHorizontal);
    EXPECT_EQ(grid("StrGrTime").Cells(0, 0), "t1 (s)");
    EXPECT_EQ(grid("StrGrTime").Cells(3, 0), "t4 (s)");
    EXPECT_EQ(grid("StrGrLevel").Cells(1, 0), "L2 (%)");
    EXPECT_EQ(grid("StrGrDelRep").Cells(0, 0), "D (s)");
    EXPECT_EQ(grid("StrGrDelRep").Cells(1, 0), "Rep");
    EXPECT_EQ(grid("StrGrTime").Cells(0, 1), "");
    EXPECT_FALSE(grid("StrGrTime").item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(grid("StrGrTime").item(1, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_THROW(grid("StrGrLevel").Cells(2, 1), std::out_of_range);
    EXPECT_THROW(grid("StrGrLevel").SetCells(0, 2, "x"), std::out_of_range);
    for (const char* name : {"Image2", "Image3", "Image4"}) {
        EXPECT_EQ(Child<QLabel>(*page, name).pixmap().size(), QSize(92, 40)) << name;
    }
    EXPECT_TRUE(Child<QCheckBox>(*page, "CkGrid").isChecked());
    EXPECT_EQ(Child<QCheckBox>(*page, "CkGrid").text(), "Grille");
    EXPECT_EQ(Child<QPushButton>(*page, "BtnRefresh").text(), "Rafraichir");
    for (QWidget* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(QRect(0, 0, 425, 297).contains(w->geometry())) << w->objectName().toStdString();
    }
}

TEST_F(RampPageTest, TheExampleRampGivesItsSixPoints) {
    LoadExample();
    const TDrawPoint expected[] = {{0, 0}, {10, 0}, {30, 100}, {40, 100}, {60, 0}, {70, 0}};
    EXPECT_EQ(draw().NbSeg, 5);
    for (int k = 0; k < 6; ++k) {
        EXPECT_FLOAT_EQ(px(k), expected[k].X) << k;
        EXPECT_FLOAT_EQ(py(k), expected[k].Y) << k;
    }
    EXPECT_EQ(grid("StrGrTime").Cells(0, 1), "20");
    EXPECT_EQ(grid("StrGrTime").Cells(3, 1), "10");
    EXPECT_EQ(grid("StrGrDelRep").Cells(0, 1), "10");
    EXPECT_EQ(grid("StrGrDelRep").Cells(1, 1), "3");
    EXPECT_EQ(grid("StrGrLevel").Cells(0, 1), "0.0");
    EXPECT_EQ(grid("StrGrLevel").Cells(1, 1), "100.0");
    EXPECT_EQ(draw().Xmax(), 100.0F);
    EXPECT_EQ(draw().Ymin(), -25.0F);
}

TEST_F(RampPageTest, ACellIsTakenWhenItsTextIsCommitted) {
    LoadExample();
    ShowWindow();
    StringGrid& times = grid("StrGrTime");
    const struct {
        int col;
        const char* typed;
        const char* shown;
        std::uint16_t stored;
        const char* status;
    } cases[] = {
        {0, "2.5", "2", 2, "2.5 s arrondi à 2 s"},  // halves to even
        {1, "3.5", "4", 4, "3.5 s arrondi à 4 s"},
        {2, "150", "99", 99, "150 s limité à 99 s"},
        {2, "99", "99", 99, ""},
        {2, "99.4", "99", 99, "99.4 s limité à 99 s"},
        {3, "abc", "10", 10, "Valeur non numérique : « abc », t4 garde 10 s"},
        {3, "-0.4", "0", 0, "-0.4 s limité à 0 s"},
    };
    for (const auto& c : cases) {
        host.status.clear();
        TypeIntoCell(times, c.col, c.typed);
        EXPECT_EQ(times.Cells(c.col, 1), c.shown) << c.typed;
        EXPECT_EQ(params().RampTime(c.col + 1), c.stored) << c.typed;
        EXPECT_EQ(host.status, c.status) << c.typed;
    }
    EXPECT_FLOAT_EQ(px(5), 10 + 2 + 4 + 99 + 0);
    EXPECT_GT(host.changeChecks, 0);
}

TEST_F(RampPageTest, AnOpenEditorIsCommittedBeforeTheExit) {
    LoadExample();
    ShowWindow();
    StringGrid& times = grid("StrGrTime");
    times.setFocus();
    times.setCurrentCell(1, 0);
    times.editItem(times.item(1, 0));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "-3");
    LeaveGrid();  // straight from the editor
    EXPECT_EQ(params().RampTime(1), 0);
    EXPECT_EQ(times.Cells(0, 1), "0");
}

TEST_F(RampPageTest, TypingOnACellReplacesItsText) {
    LoadExample();
    ShowWindow();
    StringGrid& times = grid("StrGrTime");
    times.setFocus();
    times.setCurrentCell(1, 1);
    QTest::keyClick(&times, '7');
    QTest::keyClicks(QApplication::focusWidget(), "5");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // Tab leaves the grid
    EXPECT_FALSE(times.isAncestorOf(QApplication::focusWidget()));
    EXPECT_EQ(params().RampTime(2), 75);
}

TEST_F(RampPageTest, DelayRepeatAndLevelGridsAreLimitedOnExit) {
    LoadExample();
    ShowWindow();
    TypeIntoCell(grid("StrGrDelRep"), 0, "100");
    TypeIntoCell(grid("StrGrDelRep"), 1, "x");
    LeaveGrid();
    EXPECT_EQ(params().RampDelay(), 99);
    EXPECT_EQ(params().RampRepeat(), 3);  // refused: kept
    EXPECT_EQ(grid("StrGrDelRep").Cells(1, 1), "3");
    EXPECT_EQ(host.status, "Valeur non numérique : « x », Rep garde 3");

    TypeIntoCell(grid("StrGrLevel"), 0, "zz");
    TypeIntoCell(grid("StrGrLevel"), 1, "200");
    LeaveGrid();
    EXPECT_EQ(params().RampLevel(1), 0);
    EXPECT_EQ(params().RampLevel(2), 30800);  // limited to 110 %
    EXPECT_EQ(grid("StrGrLevel").Cells(0, 1), "0.0");
    EXPECT_EQ(grid("StrGrLevel").Cells(1, 1), "110.0");
    EXPECT_EQ(host.status, "200 % limité à 110.0 %");
    EXPECT_FLOAT_EQ(py(2), 110.0F);
    // In 4-20 mA, a level in percent of the range goes down to -25 %.
    params().SetRange(rgGenerate420mA);
    page->ShowRamp();
    TypeIntoCell(grid("StrGrLevel"), 0, "-30");
    EXPECT_EQ(grid("StrGrLevel").Cells(0, 1), "-25.0");
    EXPECT_EQ(params().RampLevel(1), 0);
}

TEST_F(RampPageTest, DraggingAPointChangesTheIntervalsOnEitherSide) {
    LoadExample();
    EXPECT_TRUE(Change(2, 33.4F, 100));
    EXPECT_EQ(params().RampTime(1), 23);
    EXPECT_EQ(params().RampTime(2), 7);
    EXPECT_EQ(params().RampDelay(), 10);
    EXPECT_EQ(params().RampTime(3), 20);
    EXPECT_FLOAT_EQ(px(2), 33.0F);  // the stored, rounded position
    EXPECT_EQ(grid("StrGrTime").Cells(0, 1), "23");

    EXPECT_TRUE(Change(4, 55.0F, 25));
    EXPECT_EQ(params().RampTime(3), 15);
    EXPECT_EQ(params().RampTime(4), 15);
    EXPECT_FLOAT_EQ(host.lcx.GetLevel(TValueUnit::uPercent, 1), 25.0F);  // points 1 and 4: L1
    EXPECT_TRUE(Change(3, 40.0F, 50));
    EXPECT_FLOAT_EQ(host.lcx.GetLevel(TValueUnit::uPercent, 2), 50.0F);  // points 2 and 3: L2
    EXPECT_EQ(grid("StrGrLevel").Cells(1, 1), "50.0");
    EXPECT_GT(host.changeChecks, 0);  // a drag is an edit like any other
}

TEST_F(RampPageTest, EndPointsAndPassingANeighbourAreRefused) {
    LoadExample();
    bool allow = true;
    page->Draw1PointSelected(&draw(), 0, allow);
    EXPECT_FALSE(allow);
    for (int seg = 1; seg <= 5; ++seg) {
        allow = true;
        page->Draw1PointSelected(&draw(), seg, allow);
        EXPECT_TRUE(allow) << seg;
    }
    allow = true;
    page->Draw1PointSelected(&draw(), 6, allow);
    EXPECT_FALSE(allow);

    EXPECT_FALSE(Change(5, 80, 0));  // point 5 is picked but does not move
    EXPECT_FALSE(Change(0, 5, 0));
    EXPECT_FALSE(Change(2, 9.9F, 100));   // left of point 1
    EXPECT_FALSE(Change(3, 60.5F, 100));  // right of point 4
    EXPECT_FALSE(Change(-1, 5, 0));
    EXPECT_FALSE(Change(500, 5, 0));
    EXPECT_EQ(params().RampDelay(), 10);
    EXPECT_EQ(params().RampTime(1), 20);
    EXPECT_EQ(params().RampTime(2), 10);
    EXPECT_EQ(params().RampTime(3), 20);
    EXPECT_EQ(params().RampTime(4), 10);
    EXPECT_EQ(params().RampLevel(2), 28000);
}

TEST_F(RampPageTest, ADragCanTakeTheDelayBeyondNinetyNineUntilTheGridsNextExit) {
    params().SetRampDelay(90);
    params().SetRampTime(1, 99);
    page->ShowRamp();
    EXPECT_TRUE(Change(1, 150, 0));
    EXPECT_EQ(params().RampDelay(), 150);
    EXPECT_EQ(params().RampTime(1), 39);
    EXPECT_EQ(grid("StrGrDelRep").Cells(0, 1), "150");
    page->StrGrDelRepExit();  // untouched: kept as shown
    EXPECT_EQ(params().RampDelay(), 150);
    ShowWindow();
    TypeIntoCell(grid("StrGrDelRep"), 0, "120");
    EXPECT_EQ(params().RampDelay(), 99);
}

TEST_F(RampPageTest, HugeRegisterValuesNeitherOverflowNorLeaveTheTable) {
    params().SetRampDelay(65535);
    for (int i = 1; i <= 4; ++i) params().SetRampTime(i, 65535);
    page->ShowRamp();
    EXPECT_FLOAT_EQ(px(5), 5 * 65535.0F);
    EXPECT_TRUE(Change(1, px(2), 0));
    EXPECT_EQ(params().RampDelay(), 65535);  // the register's limit
    EXPECT_EQ(params().RampTime(1), 0);
    EXPECT_TRUE(Change(4, px(3), 0));
    EXPECT_EQ(params().RampTime(3), 0);
    EXPECT_EQ(params().RampTime(4), 99);
}

TEST_F(RampPageTest, AMouseDragMovesPointFourAndSnapsLevels) {
    LoadExample();
    ShowWindow();
    DragMouse(4, PixelOf(65, 0));
    EXPECT_EQ(params().RampTime(3), 25);
    EXPECT_EQ(params().RampTime(4), 5);
    EXPECT_EQ(params().RampTime(2), 10);

    // Levels snap to 25 % while "Grille" is checked, and move freely without it.
    LoadExample();
    DragMouse(2, PixelOf(30, 62));
    EXPECT_FLOAT_EQ(host.lcx.GetLevel(TValueUnit::uPercent, 2), 50.0F);
    Child<QCheckBox>(*page, "CkGrid").setChecked(false);
    LoadExample();
    const QPoint to = PixelOf(30, 62);
    DragMouse(2, to);
    const float free = draw().Trace()->PixelToWorldY(to.y());
    EXPECT_NEAR(host.lcx.GetLevel(TValueUnit::uPercent, 2), free, 0.01F);
    EXPECT_NE(std::fmod(free, 25.0F), 0.0F);
}

TEST_F(RampPageTest, GrilleSwitchesSnappingAndTheGridTogether) {
    QCheckBox& box = Child<QCheckBox>(*page, "CkGrid");
    box.setChecked(false);
    EXPECT_EQ(draw().SnapGrid(), TGStyle::gNone);
    EXPECT_FALSE(draw().ShowGrid());
    box.setChecked(true);
    EXPECT_EQ(draw().SnapGrid(), TGStyle::gVertical);
    EXPECT_TRUE(draw().ShowGrid());
}

TEST_F(RampPageTest, RafraichirPutsADraggedPointOnItsStoredPosition) {
    LoadExample();
    ShowWindow();
    DragMouse(2, PixelOf(33.4F, 100));
    EXPECT_NE(px(2), std::nearbyint(px(2)));  // where the mouse left it
    Child<QPushButton>(*page, "BtnRefresh").click();
    EXPECT_FLOAT_EQ(px(2), 10.0F + params().RampTime(1));
}

TEST(RampProfile, ADragToNoNumberIsRefused) {
    EXPECT_FALSE(DragRamp(2, 10, 40, std::numeric_limits<float>::quiet_NaN()).has_value());
}

}  // namespace
}  // namespace vadero::test
