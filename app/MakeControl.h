#pragma once
// A child control with its component name and its place on the form.

#include <QRect>
#include <QWidget>

namespace vadero {

template <class Control>
Control* MakeControl(QWidget* parent, const char* name, QRect geometry) {
    auto* control = new Control(parent);
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

}  // namespace vadero
