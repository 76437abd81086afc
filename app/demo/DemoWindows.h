#pragma once
// The demo's two windows on the screen: the main window, and the panel beside
// it, never over it, without taking the keyboard from it.

class QWidget;

namespace vadero {

void ShowBeside(QWidget& main, QWidget& panel);

}  // namespace vadero
