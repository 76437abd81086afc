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

std::optional<float> ReadNumber(const QString& text) {
    return ParseNumber(text.toStdString(), DecimalSeparator().toStdString());
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
