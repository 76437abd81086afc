#include "app/pages/UserScalePage.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/Guard.h"
#include "app/LocaleText.h"
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

QLineEdit* MakeEdit(QWidget* page, const char* name, int y) {
    auto* edit = new QLineEdit(page);
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
    connect(edFS_, &QLineEdit::textChanged, this, Guarded([this] { EdFS_UserScalePtChange(); }));
    connect(edZero_, &QLineEdit::textChanged, this,
            Guarded([this] { EdZero_UserScalePtChange(); }));
    for (QLineEdit* edit : {edFS_, edZero_})
        connect(edit, &QLineEdit::editingFinished, this, Guarded([edit] { EditLeft(*edit); }));
}

void UserScalePage::RefreshStep() {
    const TLCXParams& params = host_.LCX1().Params();
    const int d = DecimalsOfFormat(params.UserFormat());
    const std::string picture = FormatOfCode(params.UserFormat());
    segFS_->SetPointDecimal(d);
    segZero_->SetPointDecimal(d);
    // The edits only show the values: stored back as formatted, a full scale
    // of 12.345 shown with one decimal would become 12.3.
    const float fullScale = params.UserFullScale();
    ShowText(*edFS_, ShowNumber(fullScale, picture));
    SetNb(*segFS_, fullScale, d);
    const float zero = params.UserZero();
    ShowText(*edZero_, ShowNumber(zero, picture));
    SetNb(*segZero_, zero, d);
}

void UserScalePage::ShowUserScaleEdits() {
    const TLCXParams& params = host_.LCX1().Params();
    const std::string picture = FormatOfCode(params.UserFormat());
    ShowText(*edFS_, ShowNumber(params.UserFullScale(), picture));
    ShowText(*edZero_, ShowNumber(params.UserZero(), picture));
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

void UserScalePage::EdFS_UserScalePtChange() {
    EditChanged(*edFS_, &UserScalePage::StoreFullScale);
}

void UserScalePage::EdZero_UserScalePtChange() {
    EditChanged(*edZero_, &UserScalePage::StoreZero);
}

void UserScalePage::EditChanged(QLineEdit& edit, void (UserScalePage::*store)(float)) {
    // A text that is no number stores 0 and stays until the user leaves the
    // edit: emptied at once, "1e" would lose the "1" of "1e3" being typed.
    (this->*store)(LimitUserValue(ReadNumber(edit.text()).value_or(0.0F)));
    ShowUserScaleDisplays();
    host_.CheckChange();
}

void UserScalePage::EditLeft(QLineEdit& edit) {
    if (!ReadNumber(edit.text()))
        ShowText(edit, QString());
}

void UserScalePage::StoreFullScale(float v) {
    host_.LCX1().Params().SetUserFullScale(v);
}

void UserScalePage::StoreZero(float v) {
    host_.LCX1().Params().SetUserZero(v);
}

}  // namespace vadero
