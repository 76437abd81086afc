#include "app/NumberField.h"

#include <QCoreApplication>
#include <algorithm>

#include "app/LocaleText.h"

namespace vadero {

namespace {

// The context of this file's texts in the translation.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(vadero::NumberField)
};

QString WithUnit(const QString& number, const QString& unit) {
    return unit.isEmpty() ? number : number + ' ' + unit;
}

QString Refusal(const NumberField& field, const QString& typed, const QString& shown) {
    const QString keeps =
        shown.trimmed().isEmpty()
            ? Texts::tr("%1 reste vide").arg(field.what)
            : Texts::tr("%1 garde %2").arg(field.what, WithUnit(shown.trimmed(), field.unit));
    if (typed.isEmpty())
        return Texts::tr("Aucune valeur : %1").arg(keeps);
    return Texts::tr("Valeur non numérique : « %1 », %2").arg(typed, keeps);
}

}  // namespace

QString HeldText(const NumberField& field) {
    const std::optional<double> value = field.held();
    return value ? field.show(*value) : QString();
}

Taking TakeNumber(const NumberField& field, const QString& typed, const QString& shown) {
    if (typed == shown)
        return {true, false, shown, QString()};
    const QString trimmed = typed.trimmed();
    const std::optional<double> value = ReadNumber(trimmed);
    if (!value)
        return {false, false, shown, Refusal(field, trimmed, shown)};

    const double limited = std::clamp(*value, field.min, field.max);
    // The value is taken as the field shows it, so that typing again what it
    // shows changes nothing.
    const QString rounded = field.show(limited);
    const std::optional<double> before = field.held();
    if (rounded != shown)
        field.store(ReadNumber(rounded).value_or(limited));
    Taking taking{true, field.held() != before, HeldText(field), QString()};

    const QString from = WithUnit(trimmed, field.unit);
    const QString to = WithUnit(taking.text.trimmed(), field.unit);
    if (limited != *value)
        taking.message = Texts::tr("%1 limité à %2").arg(from, to);
    else if (ReadNumber(taking.text) != value)
        taking.message = Texts::tr("%1 arrondi à %2").arg(from, to);
    return taking;
}

}  // namespace vadero
