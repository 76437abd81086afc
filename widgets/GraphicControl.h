#pragma once
// Base of the small painted controls: the mouse events a form can bind and an
// optional popup menu. Descendants publish the events they offer.

#include <QMenu>
#include <QPointer>
#include <QWidget>

#include "widgets/WidgetEvents.h"

namespace vadero {

class TGraphicControl : public QWidget {
    Q_OBJECT

  public:
    explicit TGraphicControl(QWidget* parent = nullptr) : QWidget(parent) {}

  protected:
    TWidgetNotifyEvent OnClick;  // left press and release on the control
    TWidgetNotifyEvent OnDblClick;
    TWidgetMouseEvent OnMouseDown;
    TWidgetMouseMoveEvent OnMouseMove;
    TWidgetMouseEvent OnMouseUp;
    TWidgetContextPopupEvent OnContextPopup;
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
