#pragma once
// The fields of a loop check, as lcx3 check takes them: the instrument (tag,
// range, unit), who checks it, the mode, the points, the tolerance, the stage,
// the dwell and, in measure mode, the measurements a point averages. Numbers
// are typed in the window's numeric entry; the points as a list separated by
// ";" or blanks, each with a point or a comma for its decimals.

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "check/Settings.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace vadero {

class NumberEntry;
struct Taking;

class CheckFields : public QWidget {
    Q_OBJECT

  public:
    explicit CheckFields(QWidget* parent = nullptr);
    ~CheckFields() override;
    CheckFields(const CheckFields&) = delete;
    CheckFields& operator=(const CheckFields&) = delete;

    QLineEdit* EdTag;
    NumberEntry* EdLower;
    NumberEntry* EdUpper;
    QLineEdit* EdUnit;
    QLineEdit* EdTechnician;
    QRadioButton* RdSource;
    QRadioButton* RdMeasure;
    QLineEdit* EdPoints;
    QCheckBox* CkUpDown;
    NumberEntry* EdTolerance;
    QRadioButton* RdAsFound;
    QRadioButton* RdAsLeft;
    NumberEntry* EdDwell;
    NumberEntry* EdSamples;

    // Takes what is being typed, then the settings of a check; none, with
    // why in `refusal`, when one is missing or wrong.
    std::optional<check::Settings> Settings(QString& refusal);

    // What a take of a typed value has to say (refused, limited, rounded).
    std::function<void(const QString&)> OnMessage;

  private:
    void TakePoints();
    void Took(const Taking& taking);
    void ShowPoints();

    check::Settings settings_;  // the numbers as the entries show them
};

}  // namespace vadero
