#pragma once
// The table of a loop check's points: a row per planned point in the order
// they are taken, filling as each is taken. The reading of the point being
// taken is typed in its row, in the window's numeric entry; other cells are
// read-only.

#include <QTableWidget>
#include <optional>

#include "app/NumberField.h"
#include "check/Record.h"

namespace vadero {

class NumberEntry;

class PointTable : public QTableWidget {
    Q_OBJECT

  public:
    enum Column { kNumber, kDirection, kNominal, kCalibrator, kReading, kIdeal, kError, kResult };

    explicit PointTable(QWidget* parent = nullptr);

    // Headers in the record's units, a row per planned point with its nominal values.
    void ShowPlan(const check::Record& record);
    // The rows of the points taken.
    void ShowTaken(const check::Record& record);
    // The calibrator's value at a row not yet taken (source: once read back).
    void ShowGenerated(int row, const QString& text);
    // An entry in the row's reading cell, with the focus; it stays until
    // EndAsking or another row is asked.
    NumberEntry& AskReading(int row, NumberField field);
    void EndAsking();
    // The entry of the reading asked; nullptr when none is.
    NumberEntry* Asked() const { return asked_; }

  private:
    void SetText(int row, int column, const QString& text, bool nominal = false);
    // The row whose reading is asked stands out.
    void Mark(int row, bool asked);

    NumberEntry* asked_ = nullptr;
    int askedRow_ = -1;
};

}  // namespace vadero
