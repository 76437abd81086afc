// A window placed beside another (the demo's panel, the tools' windows): on
// the side asked for when the screen has room, never over the other one,
// following it until the user moves it.
#include <gtest/gtest.h>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "app/WindowPlacement.h"

namespace vadero {
namespace {

void Settle() {
    for (int k = 0; k < 3; ++k) QApplication::processEvents();
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
