#include "app/pages/OthersPage.h"

#include <QLineEdit>
#include <QSlider>

#include "app/Guard.h"
#include "app/pages/FilterTime.h"
#include "app/pages/PageHost.h"
#include "widgets/MyControls.h"

namespace vadero {

namespace {

template <class Control>
Control* MakeCaptioned(QWidget* parent, const char* name, const QString& francais,
                       const QString& anglais) {
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->StreamTexts(francais, francais, anglais);
    return control;
}

}  // namespace

OthersPage::OthersPage(PageHost& host, QWidget* parent)
    : QWidget(parent),
      host_(host),
      grLangue_(MakeCaptioned<TGroupBoxLangue>(this, "GrLangue", tr("Langue"),
                                               QStringLiteral("Language"))),
      radioButtonLangue7_(MakeCaptioned<TRadioButtonLangue>(
          grLangue_, "RadioButtonLangue7", tr("Français"), QStringLiteral("French"))),
      radioButtonLangue8_(MakeCaptioned<TRadioButtonLangue>(
          grLangue_, "RadioButtonLangue8", tr("Anglais"), QStringLiteral("English"))),
      grFiltre_(
          MakeCaptioned<TGroupBoxLangue>(this, "GrFiltre", tr("Filtre"), QStringLiteral("Filter"))),
      trFiltre_(new QSlider(Qt::Horizontal, grFiltre_)),
      edFiltre_(new QLineEdit(grFiltre_)) {
    setObjectName(QStringLiteral("TabOthers"));
    grLangue_->setGeometry(8, 8, 185, 73);
    radioButtonLangue7_->setGeometry(16, 22, 161, 17);
    radioButtonLangue8_->setGeometry(16, 46, 161, 17);

    grFiltre_->setGeometry(8, 89, 185, 97);
    trFiltre_->setObjectName(QStringLiteral("TrFiltre"));
    trFiltre_->setRange(0, kFilterMax);
    trFiltre_->setValue(0);
    trFiltre_->setTickPosition(QSlider::TicksBelow);
    trFiltre_->setTickInterval(1);
    trFiltre_->setPageStep(1);
    trFiltre_->setGeometry(8, 22, 169, 32);
    edFiltre_->setObjectName(QStringLiteral("EdFiltre"));
    edFiltre_->setReadOnly(true);
    edFiltre_->setText(FilterText(0));
    QPalette grey = edFiltre_->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Button));
    edFiltre_->setPalette(grey);
    edFiltre_->setGeometry(16, 62, 73, 21);

    // The captions show once the page's controls all hold their texts.
    FormLoaded(this);

    for (TRadioButtonLangue* button : {radioButtonLangue7_, radioButtonLangue8_}) {
        connect(button, &QRadioButton::toggled, this, Guarded([this](bool checked) {
                    if (checked)
                        RadioButtonLangue7Click();
                }));
    }
    connect(trFiltre_, &QSlider::valueChanged, this, Guarded([this] { TrFiltreChange(); }));
}

void OthersPage::ShowLanguage() {
    switch (host_.LCX1().Params().Language()) {
        case kLanguageFrench:
            radioButtonLangue7_->setChecked(true);
            break;
        case kLanguageEnglish:
            radioButtonLangue8_->setChecked(true);
            break;
        default:
            break;
    }
}

void OthersPage::ShowFilter() {
    const std::uint16_t filter = host_.LCX1().Params().Filter();
    if (filter <= kFilterMax)
        trFiltre_->setValue(filter);
}

void OthersPage::RadioButtonLangue7Click() {
    host_.LCX1().Params().SetLanguage(radioButtonLangue8_->isChecked() ? kLanguageEnglish
                                                                       : kLanguageFrench);
    host_.CheckChange();
}

void OthersPage::TrFiltreChange() {
    TLCXParams& params = host_.LCX1().Params();
    params.SetFilter(static_cast<std::uint16_t>(trFiltre_->value()));
    edFiltre_->setText(FilterText(params.Filter()));
    host_.CheckChange();
}

}  // namespace vadero
