#include "app/check/CheckFields.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>

#include "app/Guard.h"
#include "app/LocaleText.h"
#include "app/NumberEntry.h"
#include "calibrator/InputError.h"

namespace vadero {

namespace {

// Ranges and dwell a person types; the record's texts and page hold these.
constexpr double kLargestValue = 1e9;
constexpr double kLongestDwell = 86400;  // a day
constexpr double kSmallestTolerance = 0.001;
constexpr double kLargestTolerance = 100;

template <class Control>
Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

NumberField Field(const QString& what, const QString& unit, double min, double max,
                  std::string picture, double& value) {
    NumberField field;
    field.what = what;
    field.unit = unit;
    field.min = min;
    field.max = max;
    field.show = [picture = std::move(picture)](double v) { return ShowNumber(v, picture); };
    field.held = [&value] { return std::optional<double>(value); };
    field.store = [&value](double v) { value = v; };
    return field;
}

QString PointText(double percent) {
    return ShowNumber(percent, "#0.###").trimmed();
}

}  // namespace

CheckFields::CheckFields(QWidget* parent)
    : QWidget(parent),
      EdTag(Named(new QLineEdit, "EdTag")),
      EdLower(Named(new NumberEntry, "EdLower")),
      EdUpper(Named(new NumberEntry, "EdUpper")),
      EdUnit(Named(new QLineEdit, "EdUnit")),
      EdTechnician(Named(new QLineEdit, "EdTechnician")),
      RdSource(Named(new QRadioButton(tr("Source : le calibrateur génère")), "RdSource")),
      RdMeasure(Named(new QRadioButton(tr("Mesure : le calibrateur mesure")), "RdMeasure")),
      EdPoints(Named(new QLineEdit, "EdPoints")),
      CkUpDown(Named(new QCheckBox(tr("Montée puis descente")), "CkUpDown")),
      EdTolerance(Named(new NumberEntry, "EdTolerance")),
      RdAsFound(Named(new QRadioButton(tr("Avant réglage")), "RdAsFound")),
      RdAsLeft(Named(new QRadioButton(tr("Après réglage")), "RdAsLeft")),
      EdDwell(Named(new NumberEntry, "EdDwell")),
      EdSamples(Named(new NumberEntry, "EdSamples")) {
    settings_.instrument = {0, 100, "%"};
    EdTag->setMaxLength(int(check::kTagLength));
    EdTechnician->setMaxLength(int(check::kTechnicianLength));
    EdUnit->setMaxLength(int(check::kUnitLength));
    EdUnit->setText(QString::fromStdString(settings_.instrument.unit));
    EdLower->SetField(Field(tr("la valeur basse"), QString(), -kLargestValue, kLargestValue,
                            "#0.####", settings_.instrument.lower));
    EdUpper->SetField(Field(tr("la valeur haute"), QString(), -kLargestValue, kLargestValue,
                            "#0.####", settings_.instrument.upper));
    EdTolerance->SetField(Field(tr("la tolérance"), QStringLiteral("%"), kSmallestTolerance,
                                kLargestTolerance, "#0.###", settings_.tolerance));
    EdDwell->SetField(Field(tr("la stabilisation"), QStringLiteral("s"), 0, kLongestDwell, "#0.#",
                            settings_.dwellSeconds));
    EdSamples->SetField([this] {
        NumberField field;
        field.what = tr("le nombre de mesures");
        field.min = 1;
        field.max = check::kMostSamples;
        field.show = [](double v) { return ShowNumber(v, "#0"); };
        field.held = [this] { return std::optional<double>(settings_.samples); };
        field.store = [this](double v) { settings_.samples = int(v); };
        return field;
    });
    for (NumberEntry* entry : {EdLower, EdUpper, EdTolerance, EdDwell, EdSamples}) {
        entry->ShowHeld();
        entry->OnTaken = Guarded([this](const Taking& taking) { Took(taking); });
    }
    ShowPoints();
    RdSource->setChecked(true);
    RdAsFound->setChecked(true);
    EdSamples->setEnabled(false);
    connect(RdMeasure, &QRadioButton::toggled, EdSamples, &QWidget::setEnabled);
    connect(EdPoints, &QLineEdit::editingFinished, this, Guarded([this] { TakePoints(); }));

    auto* instrument = new QGroupBox(tr("Instrument"));
    auto* form = new QFormLayout(instrument);
    form->addRow(tr("Repère"), EdTag);
    auto* range = new QHBoxLayout;
    range->addWidget(EdLower);
    range->addWidget(new QLabel(tr("à")));
    range->addWidget(EdUpper);
    form->addRow(tr("Étendue"), range);
    form->addRow(tr("Unité"), EdUnit);
    form->addRow(tr("Technicien"), EdTechnician);
    auto* stage = new QHBoxLayout;
    stage->addWidget(RdAsFound);
    stage->addWidget(RdAsLeft);
    form->addRow(tr("Étape"), stage);

    auto* check = new QGroupBox(tr("Vérification"));
    auto* rows = new QFormLayout(check);
    auto* mode = new QVBoxLayout;
    mode->addWidget(RdSource);
    mode->addWidget(RdMeasure);
    rows->addRow(tr("Mode"), mode);
    rows->addRow(tr("Points (%)"), EdPoints);
    rows->addRow(QString(), CkUpDown);
    rows->addRow(tr("Tolérance (%)"), EdTolerance);
    rows->addRow(tr("Stabilisation (s)"), EdDwell);
    rows->addRow(tr("Mesures par point"), EdSamples);
    // Each radio pair is exclusive within its own group box.
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(instrument, 1);
    layout->addWidget(check, 1);
}

CheckFields::~CheckFields() {
    // A focus change while the children go must take nothing into this.
    for (NumberEntry* entry : {EdLower, EdUpper, EdTolerance, EdDwell, EdSamples}) entry->Detach();
}

void CheckFields::Took(const Taking& taking) {
    if (!taking.message.isEmpty() && OnMessage)
        OnMessage(taking.message);
}

void CheckFields::ShowPoints() {
    QStringList shown;
    for (const double p : settings_.points) shown << PointText(p);
    WriteText(*EdPoints, shown.join(QStringLiteral(" ; ")));
}

void CheckFields::TakePoints() {
    const QString typed = EdPoints->text().trimmed();
    QStringList shown;
    for (const double p : settings_.points) shown << PointText(p);
    const QString keeps = shown.join(QStringLiteral(" ; "));
    std::vector<double> points;
    for (const QString& item :
         typed.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts)) {
        const std::optional<double> value = ReadNumber(item);
        if (!value) {
            ShowPoints();
            if (OnMessage)
                OnMessage(tr("Points : « %1 » n'est pas un nombre (séparer les points par « ; »), "
                             "les points restent %2")
                              .arg(item, keeps));
            return;
        }
        // Taken as the field shows it.
        points.push_back(ReadNumber(PointText(*value)).value_or(*value));
    }
    if (points.empty() || int(points.size()) > check::kMostPoints) {
        ShowPoints();
        if (OnMessage)
            OnMessage(tr("Points : %1 donnés, de 1 à %2 tiennent sur le rapport ; les points "
                         "restent %3")
                          .arg(points.size())
                          .arg(check::kMostPoints)
                          .arg(keeps));
        return;
    }
    settings_.points = points;
    ShowPoints();
}

std::optional<check::Settings> CheckFields::Settings(QString& refusal) {
    for (NumberEntry* entry : {EdLower, EdUpper, EdTolerance, EdDwell, EdSamples}) entry->Take();
    TakePoints();
    // Texts are used as the fields show them, blanks around left out.
    for (QLineEdit* edit : {EdTag, EdUnit, EdTechnician}) WriteText(*edit, edit->text().trimmed());
    check::Settings s = settings_;
    s.tag = EdTag->text().toStdString();
    s.instrument.unit = EdUnit->text().toStdString();
    s.technician = EdTechnician->text().toStdString();
    s.mode = RdMeasure->isChecked() ? check::Mode::Measure : check::Mode::Source;
    s.upDown = CkUpDown->isChecked();
    s.stage = RdAsLeft->isChecked() ? check::Stage::AsLeft : check::Stage::AsFound;
    if (s.mode == check::Mode::Source)
        s.samples = 1;  // a source point reads the instrument, not the calibrator
    if (s.tag.empty())
        refusal = tr("Le repère de l'instrument est vide : le taper d'abord.");
    else if (s.instrument.unit.empty())
        refusal = tr("L'unité de l'instrument est vide : la taper d'abord.");
    else if (s.instrument.lower == s.instrument.upper)
        refusal =
            tr("L'étendue de l'instrument est vide : ses valeurs basse et haute sont égales.");
    if (!refusal.isEmpty())
        return std::nullopt;
    try {
        check::Validate(s);
    } catch (const InputError& e) {
        refusal = tr("Vérification refusée : %1").arg(QString::fromStdString(e.what()));
        return std::nullopt;
    }
    return s;
}

}  // namespace vadero
