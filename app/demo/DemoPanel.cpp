#include "app/demo/DemoPanel.h"

#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeView>
#include <QVBoxLayout>
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
constexpr int kWidth = 380;
constexpr int kFrontHeight = 222;

}  // namespace

DemoPanel::DemoPanel(emu::EmulatorHid& hid, QWidget* parent) : QWidget(parent), hid_(hid) {
    setObjectName("DemoPanel");
    setWindowTitle(tr("Calibrateur LCX3 émulé"));
    setFont(QFont("MS Sans Serif", 8));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->addWidget(BuildFront());
    layout->addWidget(BuildRegisters(), 1);
    // As tall as the main window, so that the registers show beside its pages.
    setFixedWidth(kWidth);
    setMinimumHeight(kFrontHeight + 150);
    resize(kWidth, 500);

    clock_.start();
    connect(&refresh_, &QTimer::timeout, this, [this] { Refresh(); });
    refresh_.start(250);
    Refresh();
}

QWidget* DemoPanel::BuildFront() {
    auto* front = new QWidget(this);
    front->setFixedSize(kWidth, kFrontHeight);
    Caption(front, tr("Appareil"), QRect(10, 12, 80, 20));
    SpDevice = MakeControl<QSpinBox>(front, "SpDevice", QRect(270, 10, 100, 22));
    SpDevice->setRange(1, std::max(1, hid_.DeviceCount()));
    SpDevice->setPrefix(tr("USB N°"));
    connect(SpDevice, &QSpinBox::valueChanged, this, [this] {
        registers_.Restart();
        Refresh();
    });

    BtnPlug = MakeControl<QPushButton>(front, "BtnPlug", QRect(10, 40, 175, 25));
    connect(BtnPlug, &QPushButton::clicked, this, [this] { TogglePlug(); });
    BtnPower = MakeControl<QPushButton>(front, "BtnPower", QRect(195, 40, 175, 25));
    connect(BtnPower, &QPushButton::clicked, this, [this] { TogglePower(); });

    Caption(front, tr("Entrée mesurée (% gamme)"), QRect(10, 76, 250, 20));
    SpMeasure = MakeControl<QDoubleSpinBox>(front, "SpMeasure", QRect(270, 74, 100, 22));
    SpMeasure->setRange(-10.0, 117.0);
    SpMeasure->setDecimals(2);
    SpMeasure->setSingleStep(1.0);
    connect(SpMeasure, &QDoubleSpinBox::valueChanged, this, [this] { ApplyMeasure(); });

    Caption(front, tr("Valeur générée"), QRect(10, 108, 200, 20));
    SEG_Output = MakeControl<TSEG>(front, "SEG_Output", QRect(10, 130, 10, 10));
    SEG_Output->SetStyle(TStyle::LCD);
    SEG_Output->SetNbDigit(5);
    SEG_Output->SetPointDecimal(kDecimals);
    LblOutputUnit = MakeControl<QLabel>(front, "LblOutputUnit", QRect(230, 160, 50, 20));
    LblState = MakeControl<QLabel>(front, "LblState", QRect(10, 196, 360, 20));
    return front;
}

QWidget* DemoPanel::BuildRegisters() {
    auto* group = new QGroupBox(tr("Registres"), this);
    group->setObjectName("GrRegistres");
    Registres = new QTreeView(group);
    Registres->setObjectName("Registres");
    Registres->setModel(&registers_);
    Registres->setRootIsDecorated(false);
    Registres->setUniformRowHeights(true);
    Registres->setAlternatingRowColors(true);
    Registres->header()->setStretchLastSection(true);
    Registres->setColumnWidth(RegisterTable::ColAddress, 30);
    Registres->setColumnWidth(RegisterTable::ColValue, 48);
    Registres->setColumnWidth(RegisterTable::ColWrites, 40);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(Registres);
    auto* frame = new QWidget(this);
    auto* outer = new QVBoxLayout(frame);
    outer->setContentsMargins(10, 0, 10, 0);
    outer->addWidget(group);
    return frame;
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
    BtnPlug->setText(device.Plugged() ? tr("Débrancher") : tr("Brancher"));
    BtnPower->setText(device.Powered() ? tr("Éteindre") : tr("Allumer"));
    LblState->setText(tr("%1, %2").arg(device.Plugged() ? tr("Branché") : tr("Débranché"),
                                       device.Powered() ? tr("allumé") : tr("éteint")));
    // The reader thread's requests change the bank at any time: one copy,
    // taken under the device's lock, for everything shown.
    const emu::RegisterBank bank = device.Bank();
    ShowOutput(bank);
    registers_.Show(bank, device.AllWriteCounts(), clock_.elapsed());
}

void DemoPanel::ShowOutput(const emu::RegisterBank& bank) {
    RegisterImage registers{};
    std::copy(bank.holding.begin(), bank.holding.end(), registers.begin());
    const TLCXParams params(registers);
    const int range = params.Range();
    const bool generating = IsGenerating(range);
    const float value =
        generating ? RawToValue(TValueUnit::uPhysical, range, params.OutputValue(), UserScale{})
                   : 0.0F;
    const double shown = std::nearbyint(double(value) * 1000.0);
    SEG_Output->SetNb(static_cast<int>(std::clamp(shown, -9999.0, 99999.0)));
    SEG_Output->setEnabled(generating);
    LblOutputUnit->setText(!generating               ? QStringLiteral("-")
                           : range == rgGenerate010V ? QStringLiteral("V")
                                                     : QStringLiteral("mA"));
}

}  // namespace vadero
