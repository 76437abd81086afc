// The app tests run in the program's own application object, so that an
// exception escaping a handler meets the same error box as in the program.
#include <gtest/gtest.h>

#include "app/Application.h"

namespace {

class ApplicationEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (QApplication::instance() != nullptr)
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "app_tests";
        static char* argv[] = {name, nullptr};
        // Never destroyed: at exit Qt's own statics go first.
        new vadero::Application(argc, argv);
    }
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace
