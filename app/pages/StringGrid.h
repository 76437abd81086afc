#pragma once
// A small string grid: a fixed header row 0 and editable rows below it, cells
// of a fixed size, no scroll bars, and an exit event raised when the input
// focus leaves the grid and its cell editor, after the editor's text has been
// committed to its cell.

#include <QMetaObject>
#include <QTableWidget>
#include <functional>

namespace vadero {

class StringGrid : public QTableWidget {
    Q_OBJECT

  public:
    static constexpr int kCellWidth = 54;
    static constexpr int kCellHeight = 18;

    StringGrid(int colCount, int rowCount, QWidget* parent = nullptr);
    ~StringGrid() override;
    StringGrid(const StringGrid&) = delete;
    StringGrid& operator=(const StringGrid&) = delete;

    // Throw std::out_of_range outside the grid.
    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);

    std::function<void(QObject* Sender)> OnExit;

  protected:
    // Tab and Backtab in a cell editor leave the grid instead of editing the
    // next cell.
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    bool Holds(const QWidget* widget) const;
    QTableWidgetItem& ItemAt(int col, int row) const;

    QMetaObject::Connection focusWatch_;
};

}  // namespace vadero
