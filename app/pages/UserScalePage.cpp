#include "app/pages/UserScalePage.h"

#include <QPushButton>

#include "app/Guard.h"
#include "app/LocaleText.h"
#include "app/NumberEntry.h"
#include "app/pages/PageHost.h"
#include "app/pages/UserScaleValues.h"
#include "calibrator/Conversions.h"
#include "widgets/SEGMENTS.h"

namespace vadero {

namespace {

constexpr int kLeft = 105;  // the 5-digit displays centred on the page
constexpr int kDisplayWidth = 214;
constexpr int kButtonWidth = 40;
constexpr int kButtonHeight = 25;
constexpr int kMinDigits = 2;
constexpr int kMaxDigits = 5;

QPushButton* MakeButton(QWidget* page, const char* name, const QString& text, int x) {
    auto* button = new QPushButton(text, page);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, 40, kButtonWidth, kButtonHeight);
    return button;
}

TSEG* MakeDisplay(QWidget* page, const char* name, int y) {
    auto* seg = new TSEG(page);
    seg->setObjectName(QString::fromLatin1(name));
    seg->SetStyle(TStyle::LCD);
    seg->SetNbDigit(kMaxDigits);
    seg->SetHalfDigit(false);
    seg->move(kLeft, y);
    return seg;
}

NumberEntry* MakeEdit(QWidget* page, const char* name, int y) {
    auto* edit = new NumberEntry(page);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(kLeft, y, 121, 21);
    return edit;
}

// A value that is no number (only a calibrator can hold one) shows as 0.
void SetNb(TSEG& seg, float value, int decimals) {
    seg.SetNb(DisplayNumber(value, decimals).value_or(0));
}

}  // namespace

UserScalePage::UserScalePage(PageHost& host, QWidget* parent)
    : QWidget(parent),
      host_(host),
      button1_(MakeButton(this, "Button1", QStringLiteral("<"), kLeft)),
      button3_(MakeButton(this, "Button3", QStringLiteral("<<"), kLeft + kButtonWidth + 4)),
      button4_(MakeButton(this, "Button4", QStringLiteral(">>"),
                          kLeft + kDisplayWidth - 2 * kButtonWidth - 4)),
      button2_(
          MakeButton(this, "Button2", QStringLiteral(">"), kLeft + kDisplayWidth - kButtonWidth)),
      segFS_(MakeDisplay(this, "SEG_US_FS", 76)),
      edFS_(MakeEdit(this, "EdFS_UserScalePt", 132)),
      segZero_(MakeDisplay(this, "SEG_US_Zero", 180)),
      edZero_(MakeEdit(this, "EdZero_UserScalePt", 236)) {
    setObjectName(QStringLiteral("TabUserScale"));
    connect(button1_, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(button2_, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));
    connect(button3_, &QPushButton::clicked, this, Guarded([this] { Button3Click(); }));
    connect(button4_, &QPushButton::clicked, this, Guarded([this] { Button4Click(); }));
    edFS_->SetField(FieldOf(tr("la pleine échelle"), &TLCXParams::UserFullScale,
                            &TLCXParams::SetUserFullScale));
    edZero_->SetField(FieldOf(tr("le zéro"), &TLCXParams::UserZero, &TLCXParams::SetUserZero));
    edFS_->OnTaken = Guarded([this](const Taking& taking) { EdFS_UserScalePtChange(taking); });
    edZero_->OnTaken = Guarded([this](const Taking& taking) { EdZero_UserScalePtChange(taking); });
}

UserScalePage::~UserScalePage() {
    // A focus change while the children go must not reach this page.
    edFS_->Detach();
    edZero_->Detach();
}

NumberField UserScalePage::FieldOf(const QString& what, float (TLCXParams::*get)() const,
                                   void (TLCXParams::*set)(float)) {
    NumberField field;
    field.what = what;
    field.min = kUserValueMin;
    field.max = kUserValueMax;
    // Shown whole: a full scale of 12.345 in a format of one decimal shows
    // and stays 12.345; the displays show what the calibrator will.
    field.show = [this](double v) {
        const auto value = static_cast<float>(v);
        return ShowNumber(value, WholePicture(value, host_.LCX1().Params().UserFormat()));
    };
    field.held = [this, get] { return std::optional<double>((host_.LCX1().Params().*get)()); };
    field.store = [this, set](double v) { (host_.LCX1().Params().*set)(static_cast<float>(v)); };
    return field;
}

void UserScalePage::RefreshStep() {
    const TLCXParams& params = host_.LCX1().Params();
    const int d = DecimalsOfFormat(params.UserFormat());
    segFS_->SetPointDecimal(d);
    segZero_->SetPointDecimal(d);
    // The edits only show the values: a refresh stores nothing.
    edFS_->ShowHeld();
    SetNb(*segFS_, params.UserFullScale(), d);
    edZero_->ShowHeld();
    SetNb(*segZero_, params.UserZero(), d);
}

void UserScalePage::ShowUserScaleEdits() {
    edFS_->ShowHeld();
    edZero_->ShowHeld();
}

void UserScalePage::ShowUserScaleDisplays() {
    const TLCXParams& params = host_.LCX1().Params();
    const int d = DecimalsOfFormat(params.UserFormat());
    SetNb(*segZero_, params.UserZero(), d);
    SetNb(*segFS_, params.UserFullScale(), d);
}

void UserScalePage::Button1Click() {
    const int n = segFS_->NbDigit();
    if (segFS_->PointDecimal() < n - 2)
        segFS_->SetPointDecimal(segFS_->PointDecimal() + 1);
    segZero_->SetPointDecimal(segFS_->PointDecimal());
    StoreFormat(true);
}

void UserScalePage::Button2Click() {
    if (segFS_->PointDecimal() > 0)
        segFS_->SetPointDecimal(segFS_->PointDecimal() - 1);
    segZero_->SetPointDecimal(segFS_->PointDecimal());
    StoreFormat(false);
}

void UserScalePage::Button3Click() {
    if (segFS_->NbDigit() > kMinDigits)
        segFS_->SetNbDigit(segFS_->NbDigit() - 1);
    const int n = segFS_->NbDigit();
    segZero_->SetNbDigit(n);
    if (segFS_->PointDecimal() >= n - 1)
        segFS_->SetPointDecimal(n - 2);
    segZero_->SetPointDecimal(segFS_->PointDecimal());
    StoreFormat(false);
}

void UserScalePage::Button4Click() {
    if (segFS_->NbDigit() < kMaxDigits)
        segFS_->SetNbDigit(segFS_->NbDigit() + 1);
    segZero_->SetNbDigit(segFS_->NbDigit());
    StoreFormat(false);
}

void UserScalePage::StoreFormat(bool displaysFirst) {
    host_.LCX1().Params().SetUserFormat(CodeOfFormat(segFS_->NbDigit(), segFS_->PointDecimal()));
    // The edits show the values in the new picture and store nothing, so the
    // displays are brought up to date here whichever order the button uses.
    if (displaysFirst) {
        ShowUserScaleDisplays();
        ShowUserScaleEdits();
    } else {
        ShowUserScaleEdits();
        ShowUserScaleDisplays();
    }
    host_.CheckChange();
}

void UserScalePage::EdFS_UserScalePtChange(const Taking& taking) {
    EditTaken(taking);
}

void UserScalePage::EdZero_UserScalePtChange(const Taking& taking) {
    EditTaken(taking);
}

void UserScalePage::EditTaken(const Taking& taking) {
    ShowUserScaleDisplays();
    host_.Took(taking);
}

}  // namespace vadero
