#pragma once
// The demo's stand-in for the calibrator's front panel: plug and unplug it,
// switch it off and on, set the measured input, watch the output value it
// generates, and read in "Registres" the holding registers it keeps.

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include "app/demo/RegisterTable.h"
#include "emulator/EmulatorHid.h"

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTreeView;

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
    QTreeView* Registres;  // on the RegisterTable below

    // Reads the chosen calibrator's state into the controls; on a timer, and
    // on the GUI thread, through the device's own locked calls.
    void Refresh();
    const RegisterTable& Registers() const { return registers_; }

  private:
    QWidget* BuildFront();
    QWidget* BuildRegisters();
    emu::EmulatedLcx3& Device() const;
    void TogglePlug();
    void TogglePower();
    void ApplyMeasure();
    void ShowOutput(const emu::RegisterBank& bank);

    emu::EmulatorHid& hid_;
    RegisterTable registers_;
    QElapsedTimer clock_;
    QTimer refresh_;
};

}  // namespace vadero
