#include "widgets/WinDraw.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

namespace vadero {
namespace {

constexpr int kInitialBarRange = 100;

QScrollBar* MakeBar(Qt::Orientation orientation, QWidget* parent) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setRange(-kInitialBarRange, kInitialBarRange);
    bar->setValue(0);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->hide();
    return bar;
}

}  // namespace

TWinDraw::TWinDraw(QWidget* parent) : QWidget(parent) {
    resize(256, 128);
    setFocusPolicy(Qt::StrongFocus);
    Points[0] = {0.0F, 0.0F};
    Points[1] = {50.0F, 50.0F};
    Points[2] = {100.0F, 100.0F};

    horzBar_ = MakeBar(Qt::Horizontal, this);
    vertBar_ = MakeBar(Qt::Vertical, this);
    for (QScrollBar* bar : {horzBar_, vertBar_}) {
        connect(bar, &QScrollBar::valueChanged, this, [this] { ScrollChanged(); });
        // The wheel zooms over the whole control, bars included.
        bar->installEventFilter(this);
    }
    trace_ = new TTrace(*this);
    LayoutChildren();
}

void TWinDraw::SetScrollBars(TScrollStyle v) {
    if (v == scrollBars_) {
        return;
    }
    scrollBars_ = v;
    LayoutChildren();
}

template <typename T>
void TWinDraw::StoreAndRefresh(T& field, T value) {
    if (value == field) {
        return;
    }
    field = value;
    trace_->Refresh();
}

void TWinDraw::SetXmax(float v) {
    StoreAndRefresh(xmax_, v);
}
void TWinDraw::SetXmin(float v) {
    StoreAndRefresh(xmin_, v);
}
void TWinDraw::SetYmax(float v) {
    StoreAndRefresh(ymax_, v);
}
void TWinDraw::SetYmin(float v) {
    StoreAndRefresh(ymin_, v);
}

// A step of 0 would divide the grid and the snapping by zero.
void TWinDraw::SetXGrid(std::uint16_t v) {
    if (v != 0) {
        StoreAndRefresh(xGrid_, v);
    }
}

void TWinDraw::SetYGrid(std::uint16_t v) {
    if (v != 0) {
        StoreAndRefresh(yGrid_, v);
    }
}

void TWinDraw::SetSnapGrid(TGStyle v) {
    StoreAndRefresh(snapGrid_, v);
}
void TWinDraw::SetShowGrid(bool v) {
    StoreAndRefresh(showGrid_, v);
}
void TWinDraw::SetShowAxes(TGStyle v) {
    StoreAndRefresh(showAxes_, v);
}

void TWinDraw::SetCaption(const QString& v) {
    if (v == caption_) {
        return;
    }
    caption_ = v;
    trace_->Repaint();
}

// The bars and the surface follow the editor's state; the surface repaints
// itself when its state changes.
void TWinDraw::SetEnabled(bool v) {
    if (v == isEnabled()) {
        return;
    }
    setEnabled(v);
}

void TWinDraw::Redraw() {
    trace_->Repaint();
}

void TWinDraw::LayoutChildren() {
    const int w = width();
    const int h = height();
    const bool horz =
        scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth;
    const bool vert =
        scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth;
    // One row or column of the editor's own background separates a bar from
    // the surface.
    const int traceWidth = std::max(0, vert ? w - kBarThickness - 1 : w);
    const int traceHeight = std::max(0, horz ? h - kBarThickness - 1 : h);
    trace_->setGeometry(0, 0, traceWidth, traceHeight);
    // A hidden surface gets its resize event only when shown; the mouse
    // mapping must follow now.
    trace_->UpdateGeometry();
    horzBar_->setGeometry(0, horz ? h - kBarThickness : h, traceWidth, kBarThickness);
    vertBar_->setGeometry(vert ? w - kBarThickness : w, 0, kBarThickness, traceHeight);
    horzBar_->setVisible(horz);
    vertBar_->setVisible(vert);
}

void TWinDraw::ScrollChanged() {
    trace_->SetScroll(horzBar_->value(), vertBar_->value());
    trace_->UpdateGeometry();
    trace_->Repaint();
}

void TWinDraw::ZoomStep(int delta) {
    const int zoom = std::clamp(trace_->Zoom() + (delta > 0 ? 1 : -1), kMinZoom, kMaxZoom);
    trace_->SetZoom(zoom);
    // A position outside the new range is brought into it, which pans.
    horzBar_->setRange(-10 * (zoom + 10), 10 * (zoom + 10));
    trace_->UpdateGeometry();
    trace_->Repaint();
}

void TWinDraw::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutChildren();
}

void TWinDraw::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        trace_->CancelDrag();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Only the vertical wheel zooms; a message without delta (a horizontal
// wheel, a touchpad phase) carries no direction and goes on unhandled.
void TWinDraw::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    ZoomStep(delta);
    event->accept();
}

void TWinDraw::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (OnEnter)
        OnEnter(this);
}

void TWinDraw::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (OnExit)
        OnExit(this);
}

bool TWinDraw::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && (watched == horzBar_ || watched == vertBar_) &&
        isEnabled()) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return event->isAccepted();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vadero
