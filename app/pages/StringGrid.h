#pragma once
// A small string grid: a fixed header row 0 and editable rows below it, cells
// of a fixed size, no scroll bars, and an exit event raised when the input
// focus leaves the grid and its cell editor, after the editor's text has been
// committed to its cell. A cell remembers the text the program wrote in it, so
// that a text the user committed is told apart from it.

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
    // The text the program last wrote in the cell.
    QString Shown(int col, int row) const;
    // Commits the text of an open cell editor to its cell and closes it.
    void CommitEditor();

    std::function<void(QObject* Sender)> OnExit;
    // The user committed a text to a cell (Enter, Tab, another cell, leaving).
    std::function<void(QObject* Sender, int col, int row)> OnCellEdited;

  protected:
    // Tab and Backtab in a cell editor leave the grid instead of editing the
    // next cell.
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    bool Holds(const QWidget* widget) const;
    QTableWidgetItem& ItemAt(int col, int row) const;

    QMetaObject::Connection focusWatch_;
    bool writing_ = false;  // the program writes a cell
};

}  // namespace vadero
