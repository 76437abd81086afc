#pragma once
// The page "Mémoires": eight preset values for each of the three generating
// ranges, one edit each. A typed value is stored at once in the calibrator's
// raw form, and the edit shows the stored value when the conversion changed it.

#include <QWidget>
#include <array>

class QGroupBox;
class QLineEdit;

namespace vadero {

class TPageHost;

class TMemoriesPage : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kTables = 3;
    static constexpr int kPerTable = 8;

    explicit TMemoriesPage(TPageHost& host, QWidget* parent = nullptr);

    // The refresh step: every edit shows its stored memory with three decimals.
    void ShowMemories();
    // The start-up step: "0" to "7" from top to bottom in each group.
    void FillStartNumbers();

    // The change handler of all 24 edits; Sender is the edit.
    void MemChange(QObject* Sender);

  private:
    TPageHost& host_;
    std::array<QGroupBox*, kTables> groups_{};
    std::array<std::array<QLineEdit*, kPerTable>, kTables> edits_{};
};

}  // namespace vadero
