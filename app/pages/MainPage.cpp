#include "app/pages/MainPage.h"

#include <QLineEdit>
#include <QRadioButton>

#include "app/Guard.h"
#include "app/LocaleText.h"
#include "app/MakeControl.h"
#include "widgets/MyControls.h"

namespace vadero {

namespace {

// Unit captions and enabled states by range.
struct RangeLook {
    const char* outputUnit;  // nullptr: kept
    const char* inputUnit;
    bool writeEnabled;
    bool loopPowerEnabled;
    bool loopPowerUnchecked;
};

constexpr RangeLook kLooks[kRangeCount] = {
    {"mA", "mA", true, true, false},    {"mA", "mA", true, true, false},
    {"V", "V", true, false, true},      {nullptr, "mA", false, true, true},
    {nullptr, "V", false, false, true}, {nullptr, "KOhms", false, false, true},
};

}  // namespace

MainPage::MainPage(PageHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    setObjectName("TabMain");

    GrGamme = MakeControl<TGroupBoxLangue>(this, "GrGamme", QRect(8, 6, 180, 176));
    GrGamme->StreamTexts("Gamme", "Gamme", "Range");
    static const char* const kRangeTexts[kRangeCount][2] = {
        {"Génére 0-20mA", "Output 0-20mA"},    {"Génére 4-20mA", "Output 4-20mA"},
        {"Génére 0-10V", "Output 0-10V"},      {"Mesure courant", "Current measure"},
        {"Mesure tension", "Voltage measure"}, {"Mesure résistance", "Resistor measure"},
    };
    for (int k = 0; k < kRangeCount; ++k) {
        const QByteArray name = "RadioButtonLangue" + QByteArray::number(k + 1);
        RadioButtonLangue[k] = MakeControl<TRadioButtonLangue>(GrGamme, name.constData(),
                                                               QRect(12, 22 + 25 * k, 160, 20));
        RadioButtonLangue[k]->StreamTexts(kRangeTexts[k][0], kRangeTexts[k][0], kRangeTexts[k][1]);
        connect(RadioButtonLangue[k], &QRadioButton::toggled, this, Guarded([this](bool on) {
                    if (on)
                        ChangeGammeClick();
                }));
    }

    GrLoopPower = MakeControl<TGroupBoxLangue>(this, "GrLoopPower", QRect(8, 190, 180, 50));
    GrLoopPower->StreamTexts("Alimentation de boucle", "Alimentation de boucle", "Loop Power");
    CkLoopPower = MakeControl<TCheckBoxLangue>(GrLoopPower, "CkLoopPower", QRect(12, 22, 150, 20));
    CkLoopPower->StreamTexts("Active", "Active", "Enable");
    connect(CkLoopPower, &QCheckBox::toggled, this, Guarded([this] { CkLoopPowerClick(); }));

    GrOutput = MakeControl<TGroupBoxLangue>(this, "GrOutput", QRect(196, 6, 221, 100));
    GrOutput->StreamTexts("Génére", "Génére", "output");
    EdiOutput = MakeControl<QLineEdit>(GrOutput, "EdiOutput", QRect(10, 24, 95, 21));
    RdOutputmAV = MakeControl<QRadioButton>(GrOutput, "RdOutputmAV", QRect(115, 20, 100, 20));
    RdOutputmAV->setText("mA");
    RdOutputmAV->setChecked(true);
    RdPourc = MakeControl<QRadioButton>(GrOutput, "RdPourc", QRect(115, 44, 100, 20));
    RdPourc->setText("%");
    RadioButtonLangue10 =
        MakeControl<TRadioButtonLangue>(GrOutput, "RadioButtonLangue10", QRect(115, 68, 104, 20));
    RadioButtonLangue10->StreamTexts("Unité utiliateur", "Unité utiliateur", "User unit");
    for (QRadioButton* unit :
         {RdOutputmAV, RdPourc, static_cast<QRadioButton*>(RadioButtonLangue10)})
        connect(unit, &QRadioButton::toggled, this, Guarded([this](bool on) {
                    if (on)
                        RdOutputmAVClick();
                }));
    BtnWrOutput = MakeControl<TButtonLangue>(GrOutput, "BtnWrOutput", QRect(10, 58, 95, 25));
    BtnWrOutput->StreamTexts("Ecriture", "Ecriture", "Write");
    connect(BtnWrOutput, &QPushButton::clicked, this, Guarded([this] { BtnWrOutputClick(); }));

    GroupBoxLangue1 =
        MakeControl<TGroupBoxLangue>(this, "GroupBoxLangue1", QRect(196, 114, 221, 96));
    GroupBoxLangue1->StreamTexts("Mesure", "Mesure", "Measure");
    EdiInput = MakeControl<QLineEdit>(GroupBoxLangue1, "EdiInput", QRect(10, 24, 95, 21));
    EdiInput->setReadOnly(true);
    RdInputmAV = MakeControl<QRadioButton>(GroupBoxLangue1, "RdInputmAV", QRect(115, 20, 100, 20));
    RdInputmAV->setText("mA");
    RdInputmAV->setChecked(true);
    BtnRdInput = MakeControl<TButtonLangue>(GroupBoxLangue1, "BtnRdInput", QRect(10, 58, 95, 25));
    BtnRdInput->StreamTexts("Lecture", "Lecture", "Read");
    connect(BtnRdInput, &QPushButton::clicked, this, Guarded([this] { BtnRdInputClick(); }));

    FormLoaded(this);
}

void MainPage::ChangeGammeClick() {
    for (int k = 0; k < kRangeCount; ++k)
        if (RadioButtonLangue[k]->isChecked())
            host_.LCX1().Params().SetRange(std::uint16_t(k));
    host_.CheckChange();
    ShowRange();
}

void MainPage::ShowRange() {
    const int r = host_.LCX1().Params().Range();
    if (r < 0 || r >= kRangeCount)
        return;
    RadioButtonLangue[r]->setChecked(true);
    const RangeLook& look = kLooks[r];
    if (look.outputUnit)
        RdOutputmAV->setText(look.outputUnit);
    RdInputmAV->setText(look.inputUnit);
    BtnWrOutput->setEnabled(look.writeEnabled);
    CkLoopPower->setEnabled(look.loopPowerEnabled);
    if (look.loopPowerUnchecked)
        CkLoopPower->setChecked(false);
    WriteText(*EdiOutput, QString());
    WriteText(*EdiInput, QString());
}

void MainPage::CkLoopPowerClick() {
    host_.LCX1().Params().SetLoopPower(CkLoopPower->isChecked() ? 1 : 0);
    host_.CheckChange();
}

void MainPage::ShowLoopPower() {
    CkLoopPower->setChecked(host_.LCX1().Params().LoopPower() != 0);
}

TValueUnit MainPage::OutputUnit() const {
    if (RdOutputmAV->isChecked())
        return TValueUnit::uPhysical;
    if (RdPourc->isChecked())
        return TValueUnit::uPercent;
    return TValueUnit::uUser;
}

void MainPage::RdOutputmAVClick() {
    ShowOutput();
}

void MainPage::ShowOutput() {
    const TLCXParams& params = host_.LCX1().Params();
    const TValueUnit unit = OutputUnit();
    std::string picture;
    switch (unit) {
        case TValueUnit::uPhysical:
            picture = DecimalsFormat(params.OutputDecimals());
            break;
        case TValueUnit::uPercent:
            picture = "#0.00";
            break;
        case TValueUnit::uUser:
            picture = FormatOfCode(params.UserFormat());
            break;
    }
    WriteText(*EdiOutput, ShowNumber(host_.LCX1().GetOutput(unit), picture));
}

void MainPage::BtnWrOutputClick() {
    if (!host_.ChangeChecked()) {
        SendOutput();
    } else if (host_.AskWriteAllFirst()) {
        host_.BtnWriteAllClick();
    }
}

void MainPage::SendOutput() {
    const float v = ReadNumber(EdiOutput->text()).value_or(0.0F);
    host_.StartTransfer([this, unit = OutputUnit(), v] { host_.LCX1().SetOutput(unit, v); });
    host_.SetStatus("Génération de la valeur");
}

void MainPage::BtnRdInputClick() {
    if (!host_.ChangeChecked()) {
        BtnReadMeasureClick();
    } else if (host_.AskWriteAllFirst()) {
        host_.BtnWriteAllClick();
    }
}

void MainPage::BtnReadMeasureClick() {
    host_.SetStatus("Lecture de la mesure en cours");
    WriteText(*EdiInput, QString());
    host_.StartTransfer([this] { host_.LCX1().ReadMeasure(); });
}

void MainPage::LCX1ReadMeasure(TObject* /*Sender*/) {
    ShowMeasure();
}

void MainPage::ShowMeasure() {
    const std::string picture = DecimalsFormat(host_.LCX1().Params().OutputDecimals());
    float v = 0;
    switch (host_.LCX1().GetMeasure(v)) {
        case 0:
            WriteText(*EdiInput, ShowNumber(v, picture));
            break;
        case 1:
            WriteText(*EdiInput, "Dep+");
            break;
        case 2:
            WriteText(*EdiInput, "Dep-");
            break;
        default:
            break;
    }
    host_.SetStatus("Lecture de la mesure terminée");
}

void MainPage::LCX1ReadOutput(TObject* /*Sender*/) {
    host_.SetStatus(QString());
    // The read-back arrives when it will: a value the user is typing stays.
    if (!(EdiOutput->hasFocus() && EdiOutput->isModified()))
        ShowOutput();
}

}  // namespace vadero
