#include "tests/app/PageHarness.h"

#include "tests/widgets/QtApp.h"

namespace vadero::test {

PageHarness::PageHarness()
    : lcx(LCXEnv{TransportEnv{hid, dispatcher, ReaderMode::Manual}, timers}) {
    EnsureQtApp();
}

}  // namespace vadero::test
