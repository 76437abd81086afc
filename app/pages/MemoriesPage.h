#pragma once
// The page "Mémoires": eight preset values for each of the three generating
// ranges, one edit each. A typed value is stored at each key in the
// calibrator's raw form; when the user leaves the edit, it shows the stored
// value if the conversion changed it. The refresh only shows: it stores nothing.

#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

class QGroupBox;
class QLineEdit;

namespace vadero {

class PageHost;

class MemoriesPage : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kTables = 3;
    static constexpr int kPerTable = 8;

    explicit MemoriesPage(PageHost& host, QWidget* parent = nullptr);

    // The refresh step: every edit shows its stored memory with three decimals.
    void ShowMemories();
    // The start-up step: "0" to "7" from top to bottom in each group.
    void FillStartNumbers();

    // The change handler of all 24 edits; Sender is the edit.
    void MemChange(QObject* Sender);
    // Enter or focus out: the edit shows the stored value.
    void MemLeave(QLineEdit& edit);

  private:
    struct Place {
        std::uint8_t table;
        int index;  // 1 to 8
    };
    std::optional<Place> Locate(const QObject& Sender) const;

    PageHost& host_;
    std::array<QGroupBox*, kTables> groups_{};
    std::array<std::array<QLineEdit*, kPerTable>, kTables> edits_{};
};

}  // namespace vadero
