#include "tests/app/WindowHarness.h"

#include <gtest/gtest.h>
#include <QMessageBox>
#include <QTabBar>
#include <QTest>

#include "app/PageControl.h"
#include "tests/support/ManualTimer.h"
#include "tests/widgets/QtApp.h"

namespace vadero::test {

using namespace std::chrono_literals;

WindowHarness::WindowHarness(int devices) {
    EnsureQtApp();
    for (int k = 0; k < devices; ++k) hid.AddDevice();
    forms =
        std::make_unique<ProgramForms>(TransportEnv{hid, dispatcher, ReaderMode::Manual}, timers);
    drive = std::make_unique<ManualDrive>(hid, dispatcher);
    form().RunModal = [this](QDialog& dialog) {
        ModalRecord record{dialog.objectName(), dialog.windowTitle(), QString()};
        if (auto* box = qobject_cast<QMessageBox*>(&dialog))
            record.text = box->text();
        modals.push_back(record);
        if (answer)
            return answer(dialog);
        return qobject_cast<QMessageBox*>(&dialog) ? int(QMessageBox::Ok) : int(QDialog::Accepted);
    };
    form().show();
}

WindowHarness::~WindowHarness() {
    forms.reset();
    dispatcher.pump();
}

void WindowHarness::Run(std::chrono::milliseconds duration) {
    // A pass may close the device, and the reader with it.
    drive->RunFor([this] { return form().LCX1().Master().Reader(); }, duration);
}

void WindowHarness::Tick() {
    static_cast<ManualTimer&>(form().LCX1().PollTimer()).Fire();
    Run(750ms);
}

bool WindowHarness::TickUntil(const std::function<bool()>& done, int limit) {
    for (int k = 0; k < limit; ++k) {
        if (done())
            return true;
        Tick();
    }
    return done();
}

void WindowHarness::ConnectAndLoad() {
    form().BtnScanClick();
    Run(20ms);
    ASSERT_TRUE(TickUntil([this] { return form().PageChangeAllowed(); }));
}

void WindowHarness::ClickTab(int index) {
    QTabBar* bar = form().PageControl1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

}  // namespace vadero::test
