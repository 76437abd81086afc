#pragma once

namespace vadero {
// Creates the one QApplication of the widget tests on first use (offscreen unless the
// environment names another platform). Every test that builds a widget calls it first.
void EnsureQtApp();
}  // namespace vadero
