#pragma once
// How a typed number becomes a field's value, the same in every field of the
// window: a text that is no number is refused and the field keeps its value;
// a value past a limit is limited; what is stored is the value as the field
// shows it, and the field then shows what a complete write sends.

#include <QString>
#include <functional>
#include <optional>

namespace vadero {

struct NumberField {
    QString what;  // "la mémoire 2", as the status line names the field
    QString unit;  // "mA", "s"; empty for none
    double min = 0;
    double max = 0;
    // The value in the field's picture, with the locale's decimal separator.
    std::function<QString(double)> show;
    // The value the field holds, as a complete write sends it; nothing when
    // the field holds none (it is then empty).
    std::function<std::optional<double>()> held;
    // Stores a value already limited and rounded to what the field shows.
    std::function<void(double)> store;
};

struct Taking {
    bool taken = false;    // false: refused, nothing stored
    bool changed = false;  // the value to be written changed
    QString text;          // what the field shows now
    QString message;       // for the status line; empty when all went as typed
};

// The text the field shows for the value it holds.
QString HeldText(const NumberField& field);

// Takes `typed`, typed over `shown`: stores through the field when it is a
// number that changes what the field shows.
Taking TakeNumber(const NumberField& field, const QString& typed, const QString& shown);

}  // namespace vadero
