#pragma once
// The demo's stand-in for the calibrator's front panel: plug and unplug it,
// switch it off and on, set the measured input, and watch the output value
// it generates.

#include <QTimer>
#include <QWidget>

#include "emulator/EmulatorHid.h"

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace vadero {

class TSEG;

class DemoPanel : public QWidget {
    Q_OBJECT

  public:
    explicit DemoPanel(emu::EmulatorHid& hid, QWidget* parent = nullptr);

    QSpinBox* SpDevice;
    QPushButton* BtnPlug;
    QPushButton* BtnPower;
    QDoubleSpinBox* SpMeasure;
    TSEG* SEG_Output;
    QLabel* LblOutputUnit;
    QLabel* LblState;

    // Reads the chosen calibrator's state into the controls.
    void Refresh();

  private:
    emu::EmulatedLcx3& Device() const;
    void TogglePlug();
    void TogglePower();
    void ApplyMeasure();

    emu::EmulatorHid& hid_;
    QTimer refresh_;
};

}  // namespace vadero
