#include "app/WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace vadero {

namespace {

constexpr int kGap = 8;
constexpr int kSlack = 2;  // pixels a window manager may shift a window by

QRect AvailableArea(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// The frame's size: the window's own until the window manager has framed it.
QSize FrameSize(const QWidget& window) {
    return window.frameGeometry().size().expandedTo(window.size());
}

// The room beside the anchor, gap left out.
int Room(const QRect& area, const QRect& anchor, Side side) {
    return side == Side::Right ? area.right() - anchor.right() - kGap
                               : anchor.left() - kGap - area.left();
}

Side Other(Side side) {
    return side == Side::Right ? Side::Left : Side::Right;
}

}  // namespace

void CentreOnScreen(QWidget& window) {
    const QRect area = AvailableArea(window);
    if (area.isEmpty())
        return;
    const QSize frame = FrameSize(window);
    window.move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

BesideLayout LayOutBeside(const QRect& area, const QRect& anchorFrame, QSize follower,
                          int leastWidth, Side side, bool mayMoveAnchor) {
    QRect anchor = anchorFrame;
    int width = follower.width();
    Side chosen = side;
    if (!area.isEmpty() && Room(area, anchor, side) < width) {
        if (Room(area, anchor, Other(side)) >= width) {
            chosen = Other(side);
        } else {
            if (Room(area, anchor, Other(side)) > Room(area, anchor, side))
                chosen = Other(side);
            const int most = area.width() - anchor.width() - kGap;  // the anchor at the far edge
            width = std::max(std::min(width, mayMoveAnchor ? most : Room(area, anchor, chosen)),
                             std::min(leastWidth, width));
            const int missing = std::max(0, width - Room(area, anchor, chosen));
            if (mayMoveAnchor) {
                const int shift =
                    std::min(missing, chosen == Side::Right ? anchor.left() - area.left()
                                                            : area.right() - anchor.right());
                anchor.translate(chosen == Side::Right ? -std::max(0, shift) : std::max(0, shift),
                                 0);
            }
        }
    }
    int x = chosen == Side::Right ? anchor.right() + 1 + kGap : anchor.left() - kGap - width;
    int y = anchor.top();
    if (!area.isEmpty()) {
        // A screen too small for both side by side: the follower stays within reach.
        const int shown = std::min(x + width, area.right() + 1) - std::max(x, area.left());
        if (shown < width / 3)
            x = std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - width));
        y = std::clamp(y, area.top(), std::max(area.top(), area.bottom() + 1 - follower.height()));
    }
    return {QRect(x, y, width, follower.height()), anchor.topLeft()};
}

BesidePlacement::BesidePlacement(QWidget& follower, QWidget& anchor, Side side)
    : QObject(&follower), follower_(follower), anchor_(anchor), side_(side) {
    anchor_.installEventFilter(this);
    follower_.installEventFilter(this);
}

void BesidePlacement::Place() {
    PlaceBeside(true);
}

void BesidePlacement::PlaceBeside(bool mayMoveAnchor) {
    const QSize frame = FrameSize(follower_);
    const QSize decoration = frame - follower_.size();
    const int least = std::max(follower_.minimumWidth(), follower_.minimumSizeHint().width()) +
                      decoration.width();
    const BesideLayout layout = LayOutBeside(AvailableArea(anchor_), anchor_.frameGeometry(), frame,
                                             least, side_, mayMoveAnchor);
    if (layout.anchorAt != anchor_.frameGeometry().topLeft())
        anchor_.move(layout.anchorAt);
    if (layout.follower.width() != frame.width())
        follower_.resize(layout.follower.width() - decoration.width(), follower_.height());
    placedAt_ = layout.follower.topLeft();
    follower_.move(placedAt_);
}

bool BesidePlacement::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == &anchor_ && following_ && follower_.isVisible() &&
        (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show)) {
        // Never moves the anchor back: two followers could pull it to and fro.
        PlaceBeside(false);
    } else if (watched == &follower_ && following_ && type == QEvent::Show) {
        Place();  // its frame is known now
    } else if (watched == &follower_ && type == QEvent::Move && follower_.isVisible() &&
               (follower_.pos() - placedAt_).manhattanLength() > kSlack) {
        following_ = false;  // the user put it elsewhere
    }
    return false;
}

}  // namespace vadero
