#include "tests/widgets/QtApp.h"

#include <QApplication>

namespace vadero {

void EnsureQtApp() {
    if (QApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // QApplication keeps references to argc and argv for its whole life.
    static int argc = 1;
    static char name[] = "widgets_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own statics go before a static application would.
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

}  // namespace vadero
