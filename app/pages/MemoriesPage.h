#pragma once
// The page "Mémoires": eight preset values for each of the three generating
// ranges, one numeric entry each. A value is taken when the user leaves the
// entry, limited to the range and stored in the calibrator's raw form; the
// entry then shows the stored value. The refresh only shows: it stores nothing.

#include <QWidget>
#include <array>
#include <cstdint>

class QGroupBox;

namespace vadero {

class NumberEntry;
class PageHost;
struct NumberField;
struct Taking;

class MemoriesPage : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kTables = 3;
    static constexpr int kPerTable = 8;

    explicit MemoriesPage(PageHost& host, QWidget* parent = nullptr);
    ~MemoriesPage() override;
    MemoriesPage(const MemoriesPage&) = delete;
    MemoriesPage& operator=(const MemoriesPage&) = delete;

    // The refresh step: every edit shows its stored memory with three decimals.
    void ShowMemories();
    // The start-up step: memories 1 to 8 of each table hold 0 to 7, shown
    // and checking "Changement".
    void FillStartNumbers();

    // Runs when the value typed in a memory's edit (Sender) was taken.
    void MemChange(QObject* Sender, const Taking& taking);

  private:
    NumberField FieldOf(std::uint8_t table, int index);

    PageHost& host_;
    std::array<QGroupBox*, kTables> groups_{};
    std::array<std::array<NumberEntry*, kPerTable>, kTables> edits_{};
};

}  // namespace vadero
