#include "app/LocaleText.h"

#include <QLineEdit>
#include <QLocale>

#include "calibrator/Numbers.h"

namespace vadero {

QString DecimalSeparator() { return QLocale().decimalPoint(); }

QString ShowNumber(double value, const std::string& picture) {
    return QString::fromStdString(
        FormatPicture(value, picture, DecimalSeparator().toStdString()));
}

std::optional<float> ReadNumber(const QString& text) {
    return ParseNumber(text.toStdString(), DecimalSeparator().toStdString());
}

void WriteText(QLineEdit& edit, const QString& text) {
    if (edit.text() != text) edit.setText(text);
}

}  // namespace vadero
