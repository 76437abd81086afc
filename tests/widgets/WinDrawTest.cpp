#include "widgets/WinDraw.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <cstring>
#include <memory>
#include <vector>

#include "tests/widgets/QtApp.h"
#include "widgets/WinDrawGeometry.h"

namespace vadero {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kSilver = 0xFFC0C0C0;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kYellow = 0xFFFFFF00;
constexpr QRgb kPaleYellow = 0xFFFFFFCF;

class WinDrawTest : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureQtApp();
        draw_ = std::make_unique<TWinDraw>();
        // The tests tick by hand.
        trace().Timer()->stop();
    }

    TWinDraw& draw() { return *draw_; }
    TTrace& trace() { return *draw_->Trace(); }

    // The ramp page's editor with its example ramp.
    void MakeRampEditor() {
        draw().resize(409, 145);
        draw().SetCaption(QStringLiteral("Première rampe"));
        draw().SetXmax(100);
        draw().SetYmax(100);
        draw().SetYmin(-25);
        draw().SetScrollBars(TScrollStyle::ssHorizontal);
        draw().SetXGrid(5);
        draw().SetYGrid(25);
        draw().SetSnapGrid(TGStyle::gVertical);
        draw().SetShowAxes(TGStyle::gBoth);
        const TDrawPoint ramp[] = {{0, 0}, {10, 0}, {30, 100}, {40, 100}, {60, 0}, {70, 0}};
        for (int i = 0; i < 6; ++i) draw().Points[static_cast<std::size_t>(i)] = ramp[i];
        draw().NbSeg = 5;
        draw().Redraw();
    }

    QPoint PixelOf(int i) {
        const TDrawPoint& p = draw().Points[static_cast<std::size_t>(i)];
        return {trace().WorldToPixelX(p.X), trace().WorldToPixelY(p.Y)};
    }

    void Mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(pos), QPointF(trace().mapToGlobal(pos)), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(&trace(), &event);
    }
    void Press(QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonPress, pos, button, button);
    }
    void Move(QPoint pos, Qt::MouseButtons held = Qt::NoButton) {
        Mouse(QEvent::MouseMove, pos, Qt::NoButton, held);
    }
    void Release(QPoint pos) { Mouse(QEvent::MouseButtonRelease, pos, Qt::LeftButton, {}); }
    void Wheel(int delta, QWidget* target = nullptr) {
        QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target != nullptr ? target : &draw(), &event);
    }

    QImage Grab() { return trace().grab().toImage().convertToFormat(QImage::Format_RGB32); }

    std::unique_ptr<TWinDraw> draw_;
};

TEST_F(WinDrawTest, RampEditorGeometryAndMapping) {
    MakeRampEditor();
    ASSERT_EQ(trace().size(), QSize(409, 125));
    trace().UpdateGeometry();
    EXPECT_EQ(trace().OriginX(), 34);
    EXPECT_EQ(trace().ScaleX(), 340);
    EXPECT_EQ(trace().OriginY(), 100);
    EXPECT_EQ(trace().ScaleY(), 75);
    EXPECT_EQ(PixelOf(1), QPoint(68, 85));
    EXPECT_EQ(PixelOf(2), QPoint(136, 25));
    EXPECT_NEAR(trace().PixelToWorldY(0), 141.667F, 1e-3);
    EXPECT_FLOAT_EQ(trace().PixelToWorldX(0), -10.0F);
    // Off the surface the pixel is limited to it first.
    EXPECT_FLOAT_EQ(trace().PixelToWorldX(-7), -10.0F);
    EXPECT_FLOAT_EQ(trace().PixelToWorldY(-3), trace().PixelToWorldY(0));
    EXPECT_FLOAT_EQ(trace().PixelToWorldX(5000), trace().PixelToWorldX(409));
}

TEST_F(WinDrawTest, LayoutOfTheScrollBars) {
    EXPECT_EQ(draw().size(), QSize(256, 128));
    EXPECT_EQ(trace().geometry(), QRect(0, 0, 256, 128));
    EXPECT_TRUE(draw().HorzBar()->isHidden());
    EXPECT_TRUE(draw().VertBar()->isHidden());

    MakeRampEditor();
    EXPECT_EQ(trace().geometry(), QRect(0, 0, 409, 125));
    EXPECT_EQ(draw().HorzBar()->geometry(), QRect(0, 126, 409, 19));
    EXPECT_FALSE(draw().HorzBar()->isHidden());
    EXPECT_TRUE(draw().VertBar()->isHidden());

    draw().SetScrollBars(TScrollStyle::ssBoth);
    EXPECT_EQ(trace().geometry(), QRect(0, 0, 389, 125));
    EXPECT_EQ(draw().HorzBar()->geometry(), QRect(0, 126, 389, 19));
    EXPECT_EQ(draw().VertBar()->geometry(), QRect(390, 0, 19, 125));
    EXPECT_FALSE(draw().VertBar()->isHidden());

    draw().SetScrollBars(TScrollStyle::ssVertical);
    EXPECT_EQ(trace().geometry(), QRect(0, 0, 389, 145));
    EXPECT_TRUE(draw().HorzBar()->isHidden());
}

TEST_F(WinDrawTest, SettersActOnlyOnNewValuesAndIgnoreAZeroGridStep) {
    EXPECT_FLOAT_EQ(draw().Xmin(), 0);
    EXPECT_FLOAT_EQ(draw().Ymax(), 100);
    EXPECT_EQ(draw().XGrid(), 10);
    EXPECT_EQ(draw().SnapGrid(), TGStyle::gNone);
    EXPECT_TRUE(draw().ShowGrid());
    EXPECT_EQ(draw().NbSeg, 2);
    EXPECT_FLOAT_EQ(draw().Points[1].X, 50);

    const int before = trace().RepaintCount();
    draw().SetXmin(0);
    draw().SetXmax(100);
    draw().SetYGrid(10);
    draw().SetShowGrid(true);
    draw().SetShowAxes(TGStyle::gNone);
    draw().SetCaption(QString());
    draw().SetEnabled(true);
    draw().SetXGrid(0);
    draw().SetYGrid(0);
    EXPECT_EQ(trace().RepaintCount(), before);
    EXPECT_EQ(draw().XGrid(), 10);
    EXPECT_EQ(draw().YGrid(), 10);

    draw().SetYmin(-25);
    draw().SetXGrid(5);
    draw().SetCaption(QStringLiteral("x"));
    EXPECT_EQ(trace().RepaintCount(), before + 3);
    EXPECT_FLOAT_EQ(draw().Ymin(), -25);
    EXPECT_EQ(draw().XGrid(), 5);
}

TEST_F(WinDrawTest, SnappingRoundsHalvesToEven) {
    EXPECT_FLOAT_EQ(SnapToStep(37.4F, 25), 25);
    EXPECT_FLOAT_EQ(SnapToStep(37.5F, 25), 50);
    EXPECT_FLOAT_EQ(SnapToStep(62.5F, 25), 50);
    EXPECT_FLOAT_EQ(SnapToStep(-37.5F, 25), -50);
    EXPECT_FLOAT_EQ(SnapToStep(3.0e30F, 7), 3.0e30F);  // beyond 64 bits: left alone
}

TEST_F(WinDrawTest, DraggedPositionsAreClampedAndSnapped) {
    MakeRampEditor();
    std::vector<TDrawPoint> offered;
    draw().OnChangeValue = [&](QObject* sender, int seg, float& x, float& y, bool& allow) {
        EXPECT_EQ(sender, &draw());
        EXPECT_EQ(seg, 1);
        EXPECT_TRUE(allow);
        offered.push_back({x, y});
    };
    Press(PixelOf(1));
    ASSERT_EQ(trace().DragIndex(), 1);
    Move({-20, -20}, Qt::LeftButton);  // outside: column 0, row 0
    Move({68, 62}, Qt::LeftButton);    // Y 38.3
    Move({68, 63}, Qt::LeftButton);    // Y 36.7
    ASSERT_EQ(offered.size(), 3U);
    EXPECT_FLOAT_EQ(offered[0].X, -10);  // X does not snap
    EXPECT_FLOAT_EQ(offered[0].Y, 150);
    EXPECT_FLOAT_EQ(offered[1].Y, 50);
    EXPECT_FLOAT_EQ(offered[2].Y, 25);
    EXPECT_FLOAT_EQ(draw().Points[1].X, 10);
    EXPECT_FLOAT_EQ(draw().Points[1].Y, 25);

    draw().SetSnapGrid(TGStyle::gHorizontal);
    Move({100, 63}, Qt::LeftButton);  // X 19.4, Y 36.7
    EXPECT_FLOAT_EQ(draw().Points[1].X, 20);
    EXPECT_NEAR(draw().Points[1].Y, 36.667F, 1e-3);
}

TEST_F(WinDrawTest, WheelZoomsOneStepPerMessageWithinItsLimits) {
    MakeRampEditor();
    Wheel(360);
    EXPECT_EQ(trace().Zoom(), 1);
    Wheel(0);  // no direction
    EXPECT_EQ(trace().Zoom(), 1);
    for (int i = 0; i < 12; ++i) Wheel(120);
    EXPECT_EQ(trace().Zoom(), 10);
    EXPECT_EQ(trace().ScaleX(), 20 * 409 / 12);
    EXPECT_EQ(draw().HorzBar()->minimum(), -200);
    EXPECT_EQ(draw().HorzBar()->maximum(), 200);

    draw().HorzBar()->setValue(150);  // pans
    EXPECT_EQ(trace().ScrollX(), 150);
    EXPECT_EQ(trace().OriginX(), 34 - 150);

    for (int i = 0; i < 25; ++i) Wheel(-120, draw().HorzBar());
    EXPECT_EQ(trace().Zoom(), -9);
    EXPECT_EQ(trace().ScaleX(), 409 / 12);
    EXPECT_EQ(draw().HorzBar()->minimum(), -10);
    EXPECT_EQ(draw().HorzBar()->maximum(), 10);
    // The narrowed range pulled the position in, and the surface followed.
    EXPECT_EQ(trace().ScrollX(), 10);
    EXPECT_EQ(trace().OriginX(), 24);
    // The vertical range never changes.
    EXPECT_EQ(draw().VertBar()->maximum(), 100);
    const int before = trace().RepaintCount();
    draw().VertBar()->setValue(7);
    EXPECT_EQ(trace().OriginY(), 93);
    EXPECT_EQ(trace().RepaintCount(), before + 1);
}

TEST_F(WinDrawTest, PressPicksWithinFivePixels) {
    MakeRampEditor();
    std::vector<int> offered;
    draw().OnPointSelected = [&](QObject*, int seg, bool& allow) {
        EXPECT_TRUE(allow);
        offered.push_back(seg);
    };
    const QPoint p = PixelOf(2);
    int repaints = trace().RepaintCount();
    Press(p + QPoint(5, 0));
    Press(p + QPoint(0, 5));
    Press(p + QPoint(-5, -5));
    EXPECT_TRUE(offered.empty());
    EXPECT_EQ(trace().DragIndex(), -1);
    EXPECT_EQ(trace().HotIndex(), -1);
    EXPECT_EQ(trace().RepaintCount(), repaints);  // nothing picked, nothing redrawn

    Press(p + QPoint(4, 4));
    EXPECT_EQ(offered, std::vector<int>{2});
    EXPECT_EQ(trace().DragIndex(), 2);
    EXPECT_EQ(trace().HotIndex(), 2);
    EXPECT_EQ(trace().UndoIndex(), 2);
    EXPECT_FLOAT_EQ(trace().UndoY(), 100);
    EXPECT_EQ(trace().RepaintCount(), repaints + 1);

    Release(p);
    EXPECT_EQ(trace().DragIndex(), -1);
    EXPECT_EQ(trace().HotIndex(), -1);
    EXPECT_EQ(trace().UndoIndex(), 2);  // kept for Escape
}

TEST_F(WinDrawTest, RefusedPointOffersTheNextOne) {
    MakeRampEditor();
    draw().Points[3] = {31, 100};  // 3 pixels right of point 2
    std::vector<int> offered;
    bool refuseAll = false;
    draw().OnPointSelected = [&](QObject*, int seg, bool& allow) {
        offered.push_back(seg);
        allow = !refuseAll && seg != 2;
    };
    Press(PixelOf(2));
    EXPECT_EQ(offered, (std::vector<int>{2, 3}));
    EXPECT_EQ(trace().DragIndex(), 3);
    Release(PixelOf(2));

    refuseAll = true;
    offered.clear();
    const int repaints = trace().RepaintCount();
    Press(PixelOf(2));
    EXPECT_EQ(offered, (std::vector<int>{2, 3}));
    EXPECT_EQ(trace().DragIndex(), -1);
    EXPECT_EQ(trace().HotIndex(), 3);  // the last refused stays highlighted
    EXPECT_EQ(trace().UndoIndex(), 3);
    EXPECT_EQ(trace().RepaintCount(), repaints);
}

TEST_F(WinDrawTest, MarkersArmNearAPointAndVanishAtTheNinthTick) {
    MakeRampEditor();
    const QPoint p = PixelOf(2);
    int repaints = trace().RepaintCount();
    Move(p + QPoint(10, 10));
    EXPECT_TRUE(trace().ShowMarkers());
    EXPECT_EQ(trace().MarkerTicks(), 10);
    EXPECT_EQ(trace().HotIndex(), -1);
    EXPECT_EQ(trace().RepaintCount(), repaints);

    Move(p + QPoint(3, -3));
    EXPECT_EQ(trace().HotIndex(), 2);
    EXPECT_EQ(trace().RepaintCount(), ++repaints);
    const QImage shown = Grab();
    EXPECT_EQ(shown.pixel(p.x() + 3, p.y() + 3), kYellow);
    EXPECT_EQ(shown.pixel(p.x() + 5, p.y() + 3), kBlack);  // the frame
    const QPoint q = PixelOf(4);
    EXPECT_EQ(shown.pixel(q.x() + 5, q.y() + 3), kBlack);  // every point has one
    EXPECT_EQ(shown.pixel(q.x() + 3, q.y() + 3), kWhite);  // not filled

    for (int tick = 1; tick <= 8; ++tick) trace().TimerTick();
    EXPECT_TRUE(trace().ShowMarkers());
    EXPECT_EQ(trace().RepaintCount(), repaints);
    trace().TimerTick();
    EXPECT_FALSE(trace().ShowMarkers());
    EXPECT_EQ(trace().RepaintCount(), ++repaints);
    trace().TimerTick();
    trace().TimerTick();
    EXPECT_EQ(trace().MarkerTicks(), 0);
    EXPECT_EQ(trace().RepaintCount(), repaints);
    EXPECT_EQ(Grab().pixel(q.x() + 5, q.y() + 3), kWhite);
}

TEST_F(WinDrawTest, DragTakesCorrectionsAndVetoes) {
    MakeRampEditor();
    bool veto = false;
    int calls = 0;
    draw().OnChangeValue = [&](QObject*, int, float& x, float&, bool& allow) {
        ++calls;
        if (veto) {
            allow = false;
        } else {
            x = 42;
        }
    };
    Move(PixelOf(2), Qt::LeftButton);  // nothing picked yet: no drag
    EXPECT_EQ(calls, 0);
    Press(PixelOf(2));
    Move(PixelOf(2));  // no button held: no drag
    EXPECT_EQ(calls, 0);

    Move({150, 60}, Qt::LeftButton);
    EXPECT_EQ(calls, 1);
    EXPECT_FLOAT_EQ(draw().Points[2].X, 42);
    EXPECT_FLOAT_EQ(draw().Points[2].Y, 50);

    veto = true;
    const int repaints = trace().RepaintCount();
    Move({200, 100}, Qt::LeftButton);
    EXPECT_EQ(calls, 2);
    EXPECT_FLOAT_EQ(draw().Points[2].X, 42);
    EXPECT_FLOAT_EQ(draw().Points[2].Y, 50);
    EXPECT_GT(trace().RepaintCount(), repaints);

    Release({200, 100});
    Move({210, 100}, Qt::LeftButton);
    EXPECT_EQ(calls, 2);
}

TEST_F(WinDrawTest, EscapePutsThePickedPointBack) {
    MakeRampEditor();
    const auto points = draw().Points;
    QTest::keyClick(&draw(), Qt::Key_Escape);  // before any press
    for (std::size_t k = 0; k < points.size(); ++k) {
        EXPECT_EQ(points[k].X, draw().Points[k].X) << k;
        EXPECT_EQ(points[k].Y, draw().Points[k].Y) << k;
    }

    int calls = 0;
    draw().OnChangeValue = [&](QObject*, int, float&, float&, bool&) { ++calls; };
    Press(PixelOf(3));
    Move({300, 110}, Qt::LeftButton);
    ASSERT_NE(draw().Points[3].Y, 100);
    QTest::keyClick(&draw(), Qt::Key_A);  // other keys do nothing
    EXPECT_EQ(trace().DragIndex(), 3);
    QTest::keyClick(&draw(), Qt::Key_Escape);
    EXPECT_FLOAT_EQ(draw().Points[3].X, 40);
    EXPECT_FLOAT_EQ(draw().Points[3].Y, 100);
    EXPECT_EQ(trace().DragIndex(), -1);
    Move({300, 110}, Qt::LeftButton);  // no drag until the next press
    EXPECT_EQ(calls, 1);

    // After a release Escape still restores the last point picked up.
    Press(PixelOf(3));
    Move({300, 110}, Qt::LeftButton);
    Release({300, 110});
    QTest::keyClick(&draw(), Qt::Key_Escape);
    EXPECT_FLOAT_EQ(draw().Points[3].Y, 100);
}

TEST_F(WinDrawTest, PaintsGridAxesMarksAndCurve) {
    MakeRampEditor();
    QImage image = Grab();
    ASSERT_EQ(image.size(), QSize(409, 125));
    EXPECT_EQ(image.pixel(0, 0), kBlack);  // frame
    EXPECT_EQ(image.pixel(408, 124), kBlack);
    EXPECT_EQ(image.pixel(25, 48), kWhite);
    // Grid: columns every 17 pixels from 17, rows every 15 from 25 to 115,
    // black dots at the crossings.
    EXPECT_EQ(image.pixel(25, 55), kPaleYellow);
    EXPECT_EQ(image.pixel(51, 48), kPaleYellow);
    EXPECT_EQ(image.pixel(51, 55), kBlack);
    EXPECT_EQ(image.pixel(391, 115), kBlack);
    EXPECT_EQ(image.pixel(17, 25), kBlack);
    EXPECT_EQ(image.pixel(10, 55), kWhite);  // 15-pixel inset
    // Axes over the whole surface and the marks at 100.
    EXPECT_EQ(image.pixel(34, 55), kRed);
    EXPECT_EQ(image.pixel(34, 123), kRed);
    EXPECT_EQ(image.pixel(300, 85), kRed);
    EXPECT_EQ(image.pixel(374, 80), kRed);
    EXPECT_EQ(image.pixel(374, 90), kRed);
    EXPECT_EQ(image.pixel(375, 80), kWhite);
    EXPECT_EQ(image.pixel(29, 25), kRed);
    EXPECT_EQ(image.pixel(39, 25), kRed);
    // The curve over the axis.
    EXPECT_EQ(image.pixel(51, 85), kBlack);
    EXPECT_EQ(image.pixel(150, 25), kBlack);
    EXPECT_EQ(image.pixel(102, 55), kBlack);  // halfway from (68, 85) to (136, 25)
    // The caption, dark pixels in the band under the top edge.
    int dark = 0;
    for (int y = 2; y < 24; ++y)
        for (int x = 100; x < 310; ++x) dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    EXPECT_GT(dark, 20);

    draw().SetShowGrid(false);
    draw().SetShowAxes(TGStyle::gHorizontal);
    image = Grab();
    EXPECT_EQ(image.pixel(25, 55), kWhite);
    EXPECT_EQ(image.pixel(51, 55), kWhite);
    EXPECT_EQ(image.pixel(374, 80), kRed);
    EXPECT_EQ(image.pixel(29, 25), kWhite);
    EXPECT_EQ(image.pixel(34, 55), kRed);  // the axes stay
}

TEST_F(WinDrawTest, DisabledEditorIsSilverAndIgnoresTheMouse) {
    MakeRampEditor();
    int offered = 0;
    draw().OnPointSelected = [&](QObject*, int, bool&) { ++offered; };
    const int repaints = trace().RepaintCount();
    draw().SetEnabled(false);
    EXPECT_FALSE(draw().Enabled());
    EXPECT_FALSE(trace().isEnabled());
    EXPECT_FALSE(draw().HorzBar()->isEnabled());
    EXPECT_GT(trace().RepaintCount(), repaints);
    const QImage image = Grab();
    EXPECT_EQ(image.pixel(25, 48), kSilver);
    EXPECT_EQ(image.pixel(0, 0), kBlack);

    Press(PixelOf(2));
    Move(PixelOf(2));
    Wheel(120);
    EXPECT_EQ(offered, 0);
    EXPECT_EQ(trace().DragIndex(), -1);
    EXPECT_FALSE(trace().ShowMarkers());
    EXPECT_EQ(trace().Zoom(), 0);

    draw().SetEnabled(true);
    Press(PixelOf(2));
    EXPECT_EQ(offered, 1);
}

TEST_F(WinDrawTest, OddCurvesAndRangesPaintWithoutLeavingTheTable) {
    MakeRampEditor();
    draw().NbSeg = 0;  // a single point
    EXPECT_EQ(Grab().pixel(60, 85), kRed);
    draw().NbSeg = 900;  // beyond the table: drawn up to its last place
    draw().Points[500] = {50, 50};
    (void)Grab();
    Press(PixelOf(500));
    EXPECT_EQ(trace().DragIndex(), 500);
    draw().NbSeg = 5;
    draw().SetXmax(0);  // a span of 0: every X on the column of Xmin
    draw().Points[2] = {1e30F, -1e30F};
    EXPECT_EQ(Grab().pixel(25, 48), kWhite);
    EXPECT_EQ(PixelOf(2), QPoint(34, 100 + kPixelLimit));
}

}  // namespace
}  // namespace vadero
