#include "app/demo/DemoPanel.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>
#include <cmath>

#include "app/MakeControl.h"
#include "calibrator/Conversions.h"
#include "calibrator/LCXParams.h"
#include "widgets/SEGMENTS.h"

namespace vadero {

namespace {

QLabel* Caption(QWidget* parent, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

constexpr int kDecimals = 3;

}  // namespace

DemoPanel::DemoPanel(emu::EmulatorHid& hid, QWidget* parent) : QWidget(parent), hid_(hid) {
    setObjectName("DemoPanel");
    setWindowTitle("Calibrateur LCX3 émulé");
    setFont(QFont("MS Sans Serif", 8));
    setFixedSize(300, 250);

    Caption(this, "Appareil", QRect(10, 12, 80, 20));
    SpDevice = MakeControl<QSpinBox>(this, "SpDevice", QRect(190, 10, 100, 22));
    SpDevice->setRange(1, std::max(1, hid.DeviceCount()));
    SpDevice->setPrefix("USB N°");
    connect(SpDevice, &QSpinBox::valueChanged, this, [this] { Refresh(); });

    BtnPlug = MakeControl<QPushButton>(this, "BtnPlug", QRect(10, 40, 135, 25));
    connect(BtnPlug, &QPushButton::clicked, this, [this] { TogglePlug(); });
    BtnPower = MakeControl<QPushButton>(this, "BtnPower", QRect(155, 40, 135, 25));
    connect(BtnPower, &QPushButton::clicked, this, [this] { TogglePower(); });

    Caption(this, "Entrée mesurée (% gamme)", QRect(10, 76, 178, 20));
    SpMeasure = MakeControl<QDoubleSpinBox>(this, "SpMeasure", QRect(190, 74, 100, 22));
    SpMeasure->setRange(-10.0, 117.0);
    SpMeasure->setDecimals(2);
    SpMeasure->setSingleStep(1.0);
    connect(SpMeasure, &QDoubleSpinBox::valueChanged, this, [this] { ApplyMeasure(); });

    Caption(this, "Valeur générée", QRect(10, 108, 200, 20));
    SEG_Output = MakeControl<TSEG>(this, "SEG_Output", QRect(10, 130, 10, 10));
    SEG_Output->SetStyle(TStyle::LCD);
    SEG_Output->SetNbDigit(5);
    SEG_Output->SetPointDecimal(kDecimals);
    LblOutputUnit = MakeControl<QLabel>(this, "LblOutputUnit", QRect(230, 160, 50, 20));
    LblState = MakeControl<QLabel>(this, "LblState", QRect(10, 222, 280, 20));

    connect(&refresh_, &QTimer::timeout, this, [this] { Refresh(); });
    refresh_.start(250);
    Refresh();
}

emu::EmulatedLcx3& DemoPanel::Device() const {
    return hid_.Device(SpDevice->value());
}

void DemoPanel::TogglePlug() {
    emu::EmulatedLcx3& device = Device();
    if (device.Plugged())
        device.Unplug();
    else
        device.Plug();
    Refresh();
}

void DemoPanel::TogglePower() {
    emu::EmulatedLcx3& device = Device();
    if (device.Powered())
        device.PowerOff();
    else
        device.PowerOn();
    Refresh();
}

void DemoPanel::ApplyMeasure() {
    const double raw = std::nearbyint(SpMeasure->value() / 100.0 * kRawFullScale);
    Device().SetMeasuredInput(static_cast<std::int16_t>(std::clamp(raw, -32768.0, 32767.0)));
}

void DemoPanel::Refresh() {
    SpDevice->setMaximum(std::max(1, hid_.DeviceCount()));
    const emu::EmulatedLcx3& device = Device();
    BtnPlug->setText(device.Plugged() ? "Débrancher" : "Brancher");
    BtnPower->setText(device.Powered() ? "Éteindre" : "Allumer");
    LblState->setText(QString("%1, %2")
                          .arg(device.Plugged() ? "Branché" : "Débranché")
                          .arg(device.Powered() ? "allumé" : "éteint"));

    RegisterImage registers{};
    for (int k = 0; k < TLCXParams::kCount; ++k)
        registers[static_cast<std::size_t>(k)] = device.Holding(k);
    const TLCXParams params(registers);
    const int range = params.Range();
    const bool generating = IsGenerating(range);
    const float value =
        generating ? RawToValue(TValueUnit::uPhysical, range, params.OutputValue(), UserScale{})
                   : 0.0F;
    const double shown = std::nearbyint(double(value) * 1000.0);
    SEG_Output->SetNb(static_cast<int>(std::clamp(shown, -9999.0, 99999.0)));
    SEG_Output->setEnabled(generating);
    LblOutputUnit->setText(!generating ? "-" : range == rgGenerate010V ? "V" : "mA");
}

}  // namespace vadero
