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

}  // namespace

void CentreOnScreen(QWidget& window) {
    const QRect area = AvailableArea(window);
    if (area.isEmpty())
        return;
    const QSize frame = FrameSize(window);
    window.move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

BesidePlacement::BesidePlacement(QWidget& follower, QWidget& anchor, Side side)
    : QObject(&follower), follower_(follower), anchor_(anchor), side_(side) {
    anchor_.installEventFilter(this);
    follower_.installEventFilter(this);
}

void BesidePlacement::Place() {
    const QRect anchor = anchor_.frameGeometry();
    const QRect area = AvailableArea(anchor_);
    const int width = FrameSize(follower_).width();
    const int right = anchor.right() + 1 + kGap;
    const int left = anchor.left() - kGap - width;
    const bool roomRight = area.isEmpty() || right + width <= area.right() + 1;
    const bool roomLeft = area.isEmpty() || left >= area.left();
    int x = side_ == Side::Right ? (roomRight || !roomLeft ? right : left)
                                 : (roomLeft || !roomRight ? left : right);
    int y = anchor.top();
    if (!area.isEmpty()) {
        x = std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - width));
        y = std::clamp(y, area.top(),
                       std::max(area.top(), area.bottom() + 1 - FrameSize(follower_).height()));
    }
    placedAt_ = QPoint(x, y);
    follower_.move(placedAt_);
}

bool BesidePlacement::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == &anchor_ && following_ &&
        (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show)) {
        Place();
    } else if (watched == &follower_ && following_ && type == QEvent::Show) {
        Place();  // its frame is known now
    } else if (watched == &follower_ && type == QEvent::Move && follower_.isVisible() &&
               (follower_.pos() - placedAt_).manhattanLength() > kSlack) {
        following_ = false;  // the user put it elsewhere
    }
    return false;
}

}  // namespace vadero
