// A window placed beside another (the demo's panel, the tools' windows): on
// the side asked for when the screen has room, never over the other one,
// following it until the user moves it.
#include <gtest/gtest.h>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <vector>

#include "app/WindowPlacement.h"

namespace vadero {
namespace {

void Settle() {
    for (int k = 0; k < 3; ++k) QApplication::processEvents();
}

// The main window's frame (client area and menu bar), centred on `area`.
QRect Centred(const QRect& area) {
    const QSize main(449, 501);
    return QRect(area.center() - QPoint(main.width() / 2, main.height() / 2), main);
}

struct LayoutCase {
    const char* name;
    QRect area;
    QRect anchor;
    QSize follower;
    int least;
    Side side;
    bool mayMoveAnchor;
    int anchorX;  // expected
    int followerX;
    int width;
    bool onScreen;  // both wholly within the area
};

TEST(WindowPlacement, LaidOutBesideAtEveryScale) {
    const QRect full(0, 0, 1920, 1080);
    const QRect halved(0, 0, 960, 540);  // the same screen at QT_SCALE_FACTOR=2
    const QRect tiny(0, 0, 400, 300);
    const QSize panel(380, 500);
    const QSize traffic(960, 420);
    const QSize trend(560, 360);
    const QRect afterPanel = Centred(halved).translated(-132, 0);
    const std::vector<LayoutCase> cases{
        {"room on the right", full, Centred(full), panel, 380, Side::Right, true, 735, 1192, 380,
         true},
        {"halved: the main window moves over for the panel", halved, Centred(halved), panel, 380,
         Side::Right, true, 123, 580, 380, true},
        {"halved: the traffic narrowed, the main window at the edge", halved, Centred(halved),
         traffic, 350, Side::Right, true, 0, 457, 503, true},
        {"halved: the trend takes the side with more room", halved, afterPanel, trend, 420,
         Side::Left, true, 0, 457, 503, true},
        {"halved, the main window moved by the user: it stays", halved, Centred(halved), panel, 380,
         Side::Right, false, 255, 712, 380, false},
        {"a screen smaller than the main window", tiny, QRect(0, 0, 449, 501), panel, 380,
         Side::Right, true, 0, 0, 380, false},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        const BesideLayout layout =
            LayOutBeside(c.area, c.anchor, c.follower, c.least, c.side, c.mayMoveAnchor);
        const QRect anchor(layout.anchorAt, c.anchor.size());
        EXPECT_EQ(anchor.x(), c.anchorX);
        EXPECT_EQ(anchor.y(), c.anchor.y());
        EXPECT_EQ(layout.follower.x(), c.followerX);
        EXPECT_EQ(layout.follower.width(), c.width);
        EXPECT_GE(layout.follower.width(), c.least);
        EXPECT_EQ(layout.follower.top(),
                  std::max(c.area.top(),
                           std::min(anchor.top(), c.area.bottom() + 1 - c.follower.height())));
        if (c.area.width() >= c.anchor.width() + c.least) {
            EXPECT_FALSE(layout.follower.intersects(anchor));
        }
        EXPECT_EQ(c.area.contains(layout.follower) && c.area.contains(anchor), c.onScreen);
    }
}

struct Case {
    const char* name;
    int anchorX;  // from the screen's left, or from its right when negative
    BesidePlacement::Side side;
    bool expectRight;
};

TEST(WindowPlacement, BesideTheAnchorNeverOverIt) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const Case cases[] = {
        {"room on the right", 20, BesidePlacement::Side::Right, true},
        {"no room on the right", -320, BesidePlacement::Side::Right, false},
        {"room on the left", -320, BesidePlacement::Side::Left, false},
        {"no room on the left", 20, BesidePlacement::Side::Left, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget anchor;
        anchor.resize(300, 200);
        QWidget follower;
        follower.resize(150, 100);
        new BesidePlacement(follower, anchor, c.side);
        const int x = c.anchorX >= 0 ? area.left() + c.anchorX : area.right() + 1 + c.anchorX;
        anchor.move(x, area.top() + 40);
        anchor.show();
        follower.show();
        Settle();
        const QRect a = anchor.frameGeometry();
        const QRect f = follower.frameGeometry();
        EXPECT_FALSE(a.intersects(f))
            << "anchor " << a.x() << "," << a.y() << " follower " << f.x() << "," << f.y();
        EXPECT_EQ(f.left() > a.right(), c.expectRight);
        EXPECT_EQ(f.top(), a.top());
        EXPECT_TRUE(area.contains(f));
    }
}

TEST(WindowPlacement, FollowsTheAnchorUntilTheUserMovesIt) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget anchor;
    anchor.resize(300, 200);
    QWidget follower;
    follower.resize(150, 100);
    new BesidePlacement(follower, anchor, BesidePlacement::Side::Right);
    anchor.move(area.topLeft() + QPoint(20, 20));
    anchor.show();
    follower.show();
    Settle();

    // The window manager, or the user, moves the main window: the panel follows.
    anchor.move(area.topLeft() + QPoint(60, 80));
    Settle();
    EXPECT_EQ(follower.frameGeometry().top(), anchor.frameGeometry().top());
    EXPECT_GT(follower.frameGeometry().left(), anchor.frameGeometry().right());

    // Once the user has put the panel elsewhere, it stays there.
    const QPoint chosen = area.topLeft() + QPoint(10, 300);
    follower.move(chosen);
    Settle();
    anchor.move(area.topLeft() + QPoint(30, 30));
    Settle();
    EXPECT_EQ(follower.pos(), chosen);
}

}  // namespace
}  // namespace vadero
