#pragma once
// Base of the small painted controls: the mouse events a form can bind and an
// optional popup menu. Descendants publish the events they offer.

#include <QMenu>
#include <QPointer>
#include <QWidget>

#include "widgets/WidgetEvents.h"

namespace vadero {

class GraphicControl : public QWidget {
    Q_OBJECT

  public:
    explicit GraphicControl(QWidget* parent = nullptr) : QWidget(parent) {}

  protected:
    WidgetNotifyEvent OnClick;  // left press and release on the control
    WidgetNotifyEvent OnDblClick;
    WidgetMouseEvent OnMouseDown;
    WidgetMouseMoveEvent OnMouseMove;
    WidgetMouseEvent OnMouseUp;
    WidgetContextPopupEvent OnContextPopup;
    QPointer<QMenu> PopupMenu;  // not owned

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    bool leftPressed_ = false;
};

}  // namespace vadero
