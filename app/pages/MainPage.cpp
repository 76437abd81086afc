#include "app/pages/MainPage.h"

#include <QLineEdit>
#include <QRadioButton>

#include "app/Guard.h"
#include "app/LocaleText.h"
#include "app/MakeControl.h"
#include "app/NumberEntry.h"
#include "app/pages/RangeCaptions.h"
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
    GrGamme->StreamTexts(tr("Gamme"), tr("Gamme"), "Range");
    for (int k = 0; k < kRangeCount; ++k) {
        const QByteArray name = "RadioButtonLangue" + QByteArray::number(k + 1);
        RadioButtonLangue[k] = MakeControl<TRadioButtonLangue>(GrGamme, name.constData(),
                                                               QRect(12, 22 + 25 * k, 160, 20));
        const QString caption = RangeCaption(k);
        RadioButtonLangue[k]->StreamTexts(caption, caption, kRangeCaptions[std::size_t(k)].anglais);
        connect(RadioButtonLangue[k], &QRadioButton::toggled, this, Guarded([this](bool on) {
                    if (on)
                        ChangeGammeClick();
                }));
    }

    GrLoopPower = MakeControl<TGroupBoxLangue>(this, "GrLoopPower", QRect(8, 190, 180, 50));
    GrLoopPower->StreamTexts(tr("Alimentation de boucle"), tr("Alimentation de boucle"),
                             "Loop Power");
    CkLoopPower = MakeControl<TCheckBoxLangue>(GrLoopPower, "CkLoopPower", QRect(12, 22, 150, 20));
    CkLoopPower->StreamTexts(tr("Active"), tr("Active"), "Enable");
    connect(CkLoopPower, &QCheckBox::toggled, this, Guarded([this] { CkLoopPowerClick(); }));

    GrOutput = MakeControl<TGroupBoxLangue>(this, "GrOutput", QRect(196, 6, 221, 100));
    GrOutput->StreamTexts(tr("Génére"), tr("Génére"), "output");
    EdiOutput = MakeControl<NumberEntry>(GrOutput, "EdiOutput", QRect(10, 24, 95, 21));
    EdiOutput->SetField([this] { return OutputField(); });
    EdiOutput->OnTaken = Guarded([this](const Taking& taking) { OutputTaken(taking); });
    RdOutputmAV = MakeControl<QRadioButton>(GrOutput, "RdOutputmAV", QRect(115, 20, 100, 20));
    RdOutputmAV->setText("mA");
    RdOutputmAV->setChecked(true);
    RdPourc = MakeControl<QRadioButton>(GrOutput, "RdPourc", QRect(115, 44, 100, 20));
    RdPourc->setText("%");
    RadioButtonLangue10 =
        MakeControl<TRadioButtonLangue>(GrOutput, "RadioButtonLangue10", QRect(115, 68, 104, 20));
    RadioButtonLangue10->StreamTexts(tr("Unité utiliateur"), tr("Unité utiliateur"), "User unit");
    for (QRadioButton* unit :
         {RdOutputmAV, RdPourc, static_cast<QRadioButton*>(RadioButtonLangue10)})
        connect(unit, &QRadioButton::toggled, this, Guarded([this](bool on) {
                    if (on)
                        RdOutputmAVClick();
                }));
    BtnWrOutput = MakeControl<TButtonLangue>(GrOutput, "BtnWrOutput", QRect(10, 58, 95, 25));
    BtnWrOutput->StreamTexts(tr("Ecriture"), tr("Ecriture"), "Write");
    connect(BtnWrOutput, &QPushButton::clicked, this, Guarded([this] { BtnWrOutputClick(); }));

    GroupBoxLangue1 =
        MakeControl<TGroupBoxLangue>(this, "GroupBoxLangue1", QRect(196, 114, 221, 96));
    GroupBoxLangue1->StreamTexts(tr("Mesure"), tr("Mesure"), "Measure");
    EdiInput = MakeControl<QLineEdit>(GroupBoxLangue1, "EdiInput", QRect(10, 24, 95, 21));
    EdiInput->setReadOnly(true);
    RdInputmAV = MakeControl<QRadioButton>(GroupBoxLangue1, "RdInputmAV", QRect(115, 20, 100, 20));
    RdInputmAV->setText("mA");
    RdInputmAV->setChecked(true);
    BtnRdInput = MakeControl<TButtonLangue>(GroupBoxLangue1, "BtnRdInput", QRect(10, 58, 95, 25));
    BtnRdInput->StreamTexts(tr("Lecture"), tr("Lecture"), "Read");
    connect(BtnRdInput, &QPushButton::clicked, this, Guarded([this] { BtnRdInputClick(); }));

    FormLoaded(this);
}

MainPage::~MainPage() {
    // A focus change while the children go must not reach this page.
    EdiOutput->Detach();
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
    output_.reset();
    EdiOutput->ShowEmpty();
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
    // A value typed and taken stays the same output, shown in the new unit.
    if (!output_)
        output_ = host_.LCX1().Params().OutputValue();
    EdiOutput->ShowHeld();
}

void MainPage::ShowOutput() {
    output_ = host_.LCX1().Params().OutputValue();
    EdiOutput->ShowHeld();
}

NumberField MainPage::OutputField() {
    const TLCXParams& params = host_.LCX1().Params();
    const TValueUnit unit = OutputUnit();
    const int range = params.Range();
    const UserScale scale{params.UserZero(), params.UserFullScale()};
    std::string picture;
    NumberField field;
    field.what = tr("la valeur à générer");
    switch (unit) {
        case TValueUnit::uPhysical:
            picture = DecimalsFormat(params.OutputDecimals());
            field.unit = RdOutputmAV->text();
            break;
        case TValueUnit::uPercent:
            picture = "#0.00";
            field.unit = QStringLiteral("%");
            break;
        case TValueUnit::uUser:
            picture = FormatOfCode(params.UserFormat());
            break;
    }
    // The calibrator generates 0 to 110 % of the range's full scale.
    const double low = RawToValue(unit, range, 0, scale);
    const double high = RawToValue(unit, range, static_cast<std::int16_t>(kRawMax), scale);
    field.min = std::min(low, high);
    field.max = std::max(low, high);
    field.show = [picture](double v) { return ShowNumber(v, picture); };
    field.held = [this, unit, range, scale]() -> std::optional<double> {
        if (!output_)
            return std::nullopt;
        return RawToValue(unit, range, *output_, scale);
    };
    field.store = [this, unit, range, scale](double v) {
        output_ = static_cast<std::int16_t>(ValueToRaw(unit, range, static_cast<float>(v), scale));
    };
    return field;
}

void MainPage::OutputTaken(const Taking& taking) {
    refusal_ = taking.taken ? QString() : taking.message;
    if (!taking.message.isEmpty())
        host_.SetStatus(taking.message);
}

void MainPage::BtnWrOutputClick() {
    if (!host_.ChangeChecked()) {
        SendOutput();
    } else if (host_.AskWriteAllFirst()) {
        host_.BtnWriteAllClick();
    }
}

void MainPage::SendOutput() {
    EdiOutput->Take();
    if (!refusal_.isEmpty()) {
        host_.SetStatus(std::exchange(refusal_, QString()) + tr(" ; rien n'est envoyé"));
        return;
    }
    if (!output_) {
        host_.SetStatus(tr("Aucune valeur à générer : entrer la valeur d'abord"));
        return;
    }
    // Exactly the value the edit shows, in the range it was taken in.
    host_.StartTransfer([this, raw = *output_] {
        host_.LCX1().Params().SetOutputValue(raw);
        host_.LCX1().WriteOutput();
    });
    host_.SetStatus(tr("Génération de la valeur"));
}

void MainPage::BtnRdInputClick() {
    if (!host_.ChangeChecked()) {
        BtnReadMeasureClick();
    } else if (host_.AskWriteAllFirst()) {
        host_.BtnWriteAllClick();
    }
}

void MainPage::BtnReadMeasureClick() {
    host_.SetStatus(tr("Lecture de la mesure en cours"));
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
    host_.SetStatus(tr("Lecture de la mesure terminée"));
}

void MainPage::LCX1ReadOutput(TObject* /*Sender*/) {
    host_.SetStatus(QString());
    // The read-back arrives when it will: a value the user is typing stays.
    ShowOutput();
}

}  // namespace vadero
