#pragma once
// A page of the main window on its own: a stand-in for the window that records
// what the page asks of it, and a calibrator component whose parameter set the
// page edits (an emulated calibrator in virtual time is attached, not opened).

#include <QString>

#include "app/pages/PageHost.h"
#include "calibrator/LCX.h"
#include "emulator/EmulatorHid.h"
#include "tests/support/ManualDispatcher.h"
#include "tests/support/ManualTimer.h"
#include "transport/Dispatcher.h"

namespace vadero::test {

// Final, and PageHost cannot be deleted through: a public destructor is safe.
// NOLINTNEXTLINE(cppcoreguidelines-virtual-class-destructor)
class PageHarness final : public PageHost {
  public:
    PageHarness();

    TLCX& LCX1() override { return lcx; }
    void CheckChange() override {
        changed = true;
        ++changeChecks;
    }
    bool ChangeChecked() const override { return changed; }
    void SetStatus(const QString& text) override { status = text; }
    bool AskWriteAllFirst() override {
        ++questions;
        return answerOk;
    }
    void BtnWriteAllClick() override { ++writeAlls; }
    void StartTransfer(std::function<void()> start) override { start(); }

    emu::EmulatorHid hid{emu::EmulatorHid::Time::Virtual};
    ManualDispatcher dispatcher;
    ManualTimerFactory timers;
    TLCX lcx;

    bool changed = false;
    int changeChecks = 0;
    QString status;
    bool answerOk = false;
    int questions = 0;
    int writeAlls = 0;
};

}  // namespace vadero::test
