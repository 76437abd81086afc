#include "app/PageControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabBar>

namespace vadero {

namespace {

bool IsTabKey(const QKeyEvent& key) {
    switch (key.key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
            return true;
        default:
            return false;
    }
}

bool IsPageKey(const QKeyEvent& key) {
    const bool ctrl = key.modifiers() & Qt::ControlModifier;
    return ctrl && (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab ||
                    key.key() == Qt::Key_PageUp || key.key() == Qt::Key_PageDown);
}

}  // namespace

PageControl::PageControl(QWidget* parent) : QTabWidget(parent) {
    tabBar()->installEventFilter(this);
}

bool PageControl::Allowed() {
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    return allow;
}

bool PageControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tabBar()) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick: {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                const int index = tabBar()->tabAt(mouse->position().toPoint());
                if (index >= 0 && index != currentIndex() && !Allowed())
                    return true;
                break;
            }
            case QEvent::Wheel:
                if (!Allowed())
                    return true;
                break;
            case QEvent::KeyPress:
                if (IsTabKey(*static_cast<QKeyEvent*>(event)) && !Allowed())
                    return true;
                break;
            default:
                break;
        }
    }
    return QTabWidget::eventFilter(watched, event);
}

void PageControl::keyPressEvent(QKeyEvent* event) {
    if (IsPageKey(*event) && !Allowed()) {
        event->accept();
        return;
    }
    QTabWidget::keyPressEvent(event);
}

}  // namespace vadero
