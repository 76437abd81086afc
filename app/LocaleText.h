#pragma once
// Numbers shown in edits and grid cells with the user's locale's decimal
// separator and typed with either a point or a comma, and writes of a control's text that run its
// change handler only when the text really changes.

#include <QString>
#include <optional>
#include <string>

class QLineEdit;

namespace vadero {

QString DecimalSeparator();
QString ShowNumber(double value, const std::string& picture);
// Blanks around, an optional sign, digits with one decimal point or comma,
// an optional exponent; anything else is no number.
std::optional<double> ReadNumber(const QString& text);

// Writing the text an edit already holds runs nothing.
void WriteText(QLineEdit& edit, const QString& text);
// Shows a text without running the edit's change handler: what the program
// displays is never stored back, rounded by its picture.
void ShowText(QLineEdit& edit, const QString& text);

}  // namespace vadero
