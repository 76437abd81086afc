#include "widgets/GraphicControl.h"

#include <QContextMenuEvent>
#include <QMouseEvent>

namespace vadero {

void GraphicControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        leftPressed_ = true;
    }
    const QPoint at = event->position().toPoint();
    if (OnMouseDown) {
        OnMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
    }
}

void GraphicControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (OnMouseMove) {
        OnMouseMove(this, event->modifiers(), at.x(), at.y());
    }
}

void GraphicControl::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool click = event->button() == Qt::LeftButton && leftPressed_ && rect().contains(at);
    if (event->button() == Qt::LeftButton) {
        leftPressed_ = false;
    }
    if (OnMouseUp) {
        OnMouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
    }
    if (click && OnClick) {
        OnClick(this);
    }
}

void GraphicControl::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click raises no click on its release.
    if (event->button() == Qt::LeftButton) {
        leftPressed_ = false;
        if (OnDblClick) {
            OnDblClick(this);
        }
    }
    const QPoint at = event->position().toPoint();
    if (OnMouseDown) {
        OnMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
    }
}

void GraphicControl::contextMenuEvent(QContextMenuEvent* event) {
    bool handled = false;
    if (OnContextPopup) {
        OnContextPopup(this, event->pos(), handled);
    }
    if (!handled && PopupMenu) {
        PopupMenu->popup(event->globalPos());
        handled = true;
    }
    event->setAccepted(handled);
}

}  // namespace vadero
