#pragma once
// The program's forms on emulated calibrators in virtual time: the reader runs
// by hand, the session's tick fires when the test says, and every modal
// dialog goes to the test's answer instead of waiting for a user.

#include <QDialog>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "app/Forms.h"
#include "emulator/EmulatorHid.h"
#include "tests/support/ManualDispatcher.h"
#include "tests/support/ManualDrive.h"
#include "tests/support/ManualTimer.h"

namespace vadero::test {

struct ModalRecord {
    QString objectName;  // of the dialog
    QString title;
    QString text;  // a message box's text
};

class WindowHarness {
  public:
    explicit WindowHarness(int devices);
    ~WindowHarness();

    TForm1& form() { return forms->Form1; }
    emu::EmulatedLcx3& device(int n = 1) { return hid.Device(n); }

    // Lets the line and the reader run for a while (no tick).
    void Run(std::chrono::milliseconds duration);
    // One tick of the session, then the time until the next one.
    void Tick();
    // Ticks until `done` holds; false after `limit` ticks.
    bool TickUntil(const std::function<bool()>& done, int limit = 12);
    // Scan, connect and the complete read that follows.
    void ConnectAndLoad();
    void ClickTab(int index);

    emu::EmulatorHid hid{emu::EmulatorHid::Time::Virtual};
    ManualDispatcher dispatcher;
    ManualTimerFactory timers;
    std::unique_ptr<ProgramForms> forms;
    std::unique_ptr<ManualDrive> drive;

    std::vector<ModalRecord> modals;
    // Answers a modal dialog; by default OK (QMessageBox::Ok, QDialog::Accepted for others).
    std::function<int(QDialog&)> answer;
};

}  // namespace vadero::test
