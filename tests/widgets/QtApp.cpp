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

#if defined(__SANITIZE_ADDRESS__)
#define VADERO_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VADERO_LSAN 1
#endif
#endif

#ifdef VADERO_LSAN
// fontconfig keeps caches it never frees once Qt has laid out a text.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif
