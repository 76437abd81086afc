#include "widgets/WinDrawTrace.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "widgets/WinDraw.h"

namespace vadero {
namespace {

bool Within(QPoint pos, QPoint p, int reach) {
    return std::abs(pos.x() - p.x()) < reach && std::abs(pos.y() - p.y()) < reach;
}

}  // namespace

TTrace::TTrace(TWinDraw& owner) : QWidget(&owner), owner_(owner), timer_(new QTimer(this)) {
    move(0, 0);
    setMouseTracking(true);  // moves without a button show the markers
    setAttribute(Qt::WA_OpaquePaintEvent);
    UpdateGeometry();
    connect(timer_, &QTimer::timeout, this, [this] { TimerTick(); });
    timer_->start(kTickInterval);
}

void TTrace::SetScroll(int x, int y) {
    scrollX_ = x;
    scrollY_ = y;
}

void TTrace::UpdateGeometry() {
    geometry_ = ComputeGeometry(width(), height(), scrollX_, scrollY_, zoom_);
}

int TTrace::WorldToPixelX(float x) const {
    return geometry_.OriginX +
           WorldToPixelOffset(x, owner_.Xmin(), owner_.Xmax(), geometry_.ScaleX);
}

int TTrace::WorldToPixelY(float y) const {
    return geometry_.OriginY -
           WorldToPixelOffset(y, owner_.Ymin(), owner_.Ymax(), geometry_.ScaleY);
}

float TTrace::PixelToWorldX(int px) const {
    const long double offset = std::clamp(px, 0, width()) - geometry_.OriginX;
    return PixelOffsetToWorld(offset, owner_.Xmin(), owner_.Xmax(), geometry_.ScaleX);
}

float TTrace::PixelToWorldY(int py) const {
    const long double offset = geometry_.OriginY - std::clamp(py, 0, height());
    return PixelOffsetToWorld(offset, owner_.Ymin(), owner_.Ymax(), geometry_.ScaleY);
}

void TTrace::Repaint() {
    ++repaintCount_;
    repaint();
}

void TTrace::Refresh() {
    ++repaintCount_;
    update();
}

int TTrace::LastIndex() const {
    return std::clamp(owner_.NbSeg, 0, TWinDraw::kPointCount - 1);
}

QPoint TTrace::PixelOf(int index) const {
    const TDrawPoint& p = owner_.Points[static_cast<std::size_t>(index)];
    return {WorldToPixelX(p.X), WorldToPixelY(p.Y)};
}

void TTrace::SnapDragged(float& x, float& y) const {
    if (HasHorizontal(owner_.SnapGrid())) {
        x = SnapToStep(x, owner_.XGrid());
    }
    if (HasVertical(owner_.SnapGrid())) {
        y = SnapToStep(y, owner_.YGrid());
    }
}

void TTrace::MousePress(QPoint pos) {
    hotIndex_ = -1;
    undoIndex_ = -1;
    bool picked = false;
    for (int i = 0; i <= LastIndex(); ++i) {
        if (!Within(pos, PixelOf(i), kPickReach)) {
            continue;
        }
        hotIndex_ = i;
        undoIndex_ = i;
        undoX_ = owner_.Points[static_cast<std::size_t>(i)].X;
        undoY_ = owner_.Points[static_cast<std::size_t>(i)].Y;
        picked = true;
        if (owner_.OnPointSelected) {
            owner_.OnPointSelected(&owner_, i, picked);
        }
        if (picked) {
            break;
        }
    }
    // A refused point stays highlighted and saved, but nothing is redrawn.
    if (picked) {
        dragIndex_ = hotIndex_;
        Repaint();
    }
}

void TTrace::MouseMove(QPoint pos, bool leftHeld) {
    bool repaintNeeded = false;
    for (int i = 0; i <= LastIndex(); ++i) {
        const QPoint p = PixelOf(i);
        if (!Within(pos, p, kMarkerReach)) {
            continue;
        }
        // Near enough to arm the markers; they show at the next paint.
        showMarkers_ = true;
        markerTicks_ = kMarkerTicks;
        if (Within(pos, p, kPickReach)) {
            hotIndex_ = i;
            repaintNeeded = true;
            break;
        }
    }
    if (leftHeld && dragIndex_ != -1) {
        float wx = PixelToWorldX(pos.x());
        float wy = PixelToWorldY(pos.y());
        SnapDragged(wx, wy);
        bool allow = true;
        if (owner_.OnChangeValue) {
            owner_.OnChangeValue(&owner_, dragIndex_, wx, wy, allow);
        }
        // The handler may have dropped the point (CancelDrag).
        if (allow && dragIndex_ != -1) {
            owner_.Points[static_cast<std::size_t>(dragIndex_)] = {wx, wy};
        }
        // Also after a veto: the handler may have changed other points.
        repaintNeeded = true;
    }
    if (repaintNeeded) {
        Repaint();
    }
}

void TTrace::MouseRelease() {
    hotIndex_ = -1;
    dragIndex_ = -1;
    Repaint();
}

void TTrace::CancelDrag() {
    if (undoIndex_ != -1) {
        owner_.Points[static_cast<std::size_t>(undoIndex_)] = {undoX_, undoY_};
    }
    hotIndex_ = -1;
    dragIndex_ = -1;
    Repaint();
}

void TTrace::TimerTick() {
    if (markerTicks_ > 0) {
        --markerTicks_;
    }
    if (markerTicks_ == 1) {
        showMarkers_ = false;
        Repaint();
    }
}

void TTrace::paintEvent(QPaintEvent* /*event*/) {
    QPainter canvas(this);
    Paint(canvas);
}

void TTrace::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        Repaint();
    }
}

void TTrace::mousePressEvent(QMouseEvent* event) {
    MousePress(event->position().toPoint());
    event->accept();
}

void TTrace::mouseMoveEvent(QMouseEvent* event) {
    MouseMove(event->position().toPoint(), (event->buttons() & Qt::LeftButton) != 0);
    event->accept();
}

void TTrace::mouseReleaseEvent(QMouseEvent* event) {
    MouseRelease();
    event->accept();
}

}  // namespace vadero
