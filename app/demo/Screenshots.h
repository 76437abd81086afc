#pragma once
// The demo's picture run: the traffic window during the first complete read;
// once it is done, a PNG of the main window on each page and with its
// "Fichier" menu open, then of the device choice dialog (two devices), the
// About box, the compare dialog, a loop check of five points, the traffic of
// a complete write and the panel's registers after it, the trend after a
// minute of measurements, the screen with the windows where they stand, the
// time-out message (calibrator off) and the panel; then the program ends.

#include <QDir>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "app/Forms.h"
#include "app/demo/DemoPanel.h"
#include "emulator/EmulatorHid.h"

namespace vadero {

class ScreenshotRun : public QObject {
    Q_OBJECT

  public:
    static constexpr int kTimeLimitMs = 60000;  // for each stage
    static constexpr int kTrendMs = 60000;
    static constexpr std::int16_t kTrendStart = 16800;  // 12 mA

    ScreenshotRun(ProgramForms& forms, emu::EmulatorHid& hid, DemoPanel& panel, const QDir& dir);

    // Ends the program with 0 when every picture was written, 1 otherwise.
    void Start();

  private:
    void WatchTraffic();
    void TakeAll();
    void MenuPicture();
    void ComparePicture();
    void WritePicture();
    // A short check with readings typed, then `then`.
    void LoopCheckPicture(const std::function<void()>& then);
    void TrendPicture();
    // The screen with every window shown drawn where it stands.
    void DesktopPicture(const QString& name);
    void TimeOutPicture();
    void Finish(int code, const QString& reason = QString());
    bool Save(QWidget& widget, const QString& name);

    ProgramForms& forms_;
    emu::EmulatorHid& hid_;
    DemoPanel& panel_;
    QDir dir_;
    QTimer limit_;
    QTimer watch_;
    bool started_ = false;
    bool trafficTaken_ = false;
    bool failed_ = false;
};

}  // namespace vadero
