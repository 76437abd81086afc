#include "app/LocaleText.h"

#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>

#include "calibrator/Numbers.h"

namespace vadero {

QString DecimalSeparator() {
    return QLocale().decimalPoint();
}

QString ShowNumber(double value, const std::string& picture) {
    return QString::fromStdString(FormatPicture(value, picture, DecimalSeparator().toStdString()));
}

std::optional<double> ReadNumber(const QString& text) {
    // The window has no thousands separators: either mark is the decimal one.
    const std::string typed = text.toStdString();
    if (auto value = ParseReal(typed, "."))
        return value;
    return ParseReal(typed, ",");
}

void WriteText(QLineEdit& edit, const QString& text) {
    if (edit.text() != text)
        edit.setText(text);
}

void ShowText(QLineEdit& edit, const QString& text) {
    if (edit.text() == text)
        return;
    const QSignalBlocker quiet(edit);
    edit.setText(text);
}

}  // namespace vadero
