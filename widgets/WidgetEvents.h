#pragma once
// Event types of the display widgets. Like every event of the tool they are
// raised only when bound; Sender is the widget (or text set) that raises them.

#include <QObject>
#include <QPoint>
#include <functional>

namespace vadero {

using WidgetNotifyEvent = std::function<void(QObject* Sender)>;
using WidgetMouseEvent = std::function<void(QObject* Sender, Qt::MouseButton Button,
                                            Qt::KeyboardModifiers Shift, int X, int Y)>;
using WidgetMouseMoveEvent =
    std::function<void(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;
// Handled arrives false; setting it keeps the widget's popup menu closed.
using WidgetContextPopupEvent =
    std::function<void(QObject* Sender, QPoint MousePos, bool& Handled)>;

}  // namespace vadero
