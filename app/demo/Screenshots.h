#pragma once
// The demo's picture run: once the first complete read is done, a PNG of the
// main window on each page, then of the device choice dialog (two devices),
// the About box, the time-out message (calibrator off) and the panel; then
// the program ends.

#include <QDir>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include "app/Forms.h"
#include "app/demo/DemoPanel.h"
#include "emulator/EmulatorHid.h"

namespace vadero {

class TScreenshotRun : public QObject {
    Q_OBJECT

  public:
    static constexpr int kTimeLimitMs = 60000;

    TScreenshotRun(TProgramForms& forms, emu::EmulatorHid& hid, TDemoPanel& panel, const QDir& dir);

    // Ends the program with 0 when every picture was written, 1 otherwise.
    void Start();

  private:
    void TakeAll();
    void TimeOutPicture();
    void Finish(int code, const QString& reason = QString());
    bool Save(QWidget& widget, const QString& name);

    TProgramForms& forms_;
    emu::EmulatorHid& hid_;
    TDemoPanel& panel_;
    QDir dir_;
    QTimer limit_;
    bool started_ = false;
    bool failed_ = false;
};

}  // namespace vadero
