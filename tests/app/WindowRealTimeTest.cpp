// The window as the program runs it: the reader thread, the Qt dispatcher and
// the 750 ms QTimer, against an emulated calibrator on the real clock, with
// the demo's panel reading the calibrator's registers on its own timer.
#include <gtest/gtest.h>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QThread>

#include "app/Forms.h"
#include "app/QtEnv.h"
#include "app/demo/DemoPanel.h"
#include "emulator/EmulatorHid.h"
#include "widgets/Led.h"

namespace vadero {
namespace {

TEST(WindowRealTime, EventsReachTheGuiThreadAndTheReadCompletes) {
    emu::EmulatorHid hid(emu::EmulatorHid::Time::Real);
    emu::EmulatedLcx3& calibrator = hid.AddDevice();
    calibrator.SetHolding(3, 10);
    QtDispatcher dispatcher;
    QtTimerFactory timers;
    {
        ProgramForms forms(TransportEnv{hid, dispatcher, ReaderMode::Threaded}, timers);
        TForm1& form = forms.Form1;
        DemoPanel panel(hid);
        form.show();
        QThread* const gui = QThread::currentThread();
        bool onGuiThread = true;
        NotifyEvent connect = form.LCX1().OnConnect;
        form.LCX1().OnConnect = [&](TObject* sender) {
            onGuiThread = onGuiThread && QThread::currentThread() == gui;
            connect(sender);
        };
        QStringList dialogs;  // a box shown on the way says what went wrong
        form.RunModal = [&](QDialog& dialog) {
            const QLabel* const text = dialog.findChild<QLabel*>();
            dialogs << dialog.windowTitle() + ": " + (text ? text->text() : QString());
            return 0;
        };
        form.BtnScanClick();
        // Generous: a loaded machine under a sanitizer is many times slower;
        // the wait ends as soon as the read has completed.
        EXPECT_TRUE(QTest::qWaitFor([&] { return form.PageChangeAllowed(); }, 90000))
            << form.StatusText().toStdString() << " " << dialogs.join("; ").toStdString();
        EXPECT_TRUE(onGuiThread);
        EXPECT_TRUE(form.LedConnect->LedStatus());
        EXPECT_EQ(form.LCX1().Params().Filter(), 10);
        const RegisterTable& registers = panel.Registers();
        EXPECT_EQ(registers.data(registers.index(3, RegisterTable::ColValue), Qt::DisplayRole), 10);
        form.close();  // closes the device: the reader ends
    }
}

}  // namespace
}  // namespace vadero
