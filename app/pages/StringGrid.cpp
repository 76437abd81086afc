#include "app/pages/StringGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <stdexcept>
#include <utility>

namespace vadero {

StringGrid::StringGrid(int colCount, int rowCount, QWidget* parent)
    : QTableWidget(rowCount, colCount, parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setMinimumSectionSize(0);
        header->setSectionResizeMode(QHeaderView::Fixed);
    }
    horizontalHeader()->setDefaultSectionSize(kCellWidth);
    verticalHeader()->setDefaultSectionSize(kCellHeight);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(false);  // Tab leaves the grid
    const int frame = 2 * frameWidth();
    setFixedSize(colCount * kCellWidth + frame, rowCount * kCellHeight + frame);

    for (int col = 0; col < colCount; ++col) {
        auto* header = new QTableWidgetItem;
        header->setFlags(Qt::NoItemFlags);
        header->setBackground(palette().button());
        header->setForeground(palette().buttonText());
        setItem(0, col, header);
        for (int row = 1; row < rowCount; ++row) {
            auto* cell = new QTableWidgetItem;
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
            setItem(row, col, cell);
        }
    }
    // The first value cell is current, without a highlight until the user
    // picks a cell.
    if (rowCount > 1)
        setCurrentCell(1, 0);
    clearSelection();

    // The editor commits its text when it loses the focus, before the
    // application announces the focus change.
    focusWatch_ =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            if (Holds(old) && !Holds(now) && OnExit)
                OnExit(this);
        });
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* cell) {
        if (!writing_ && OnCellEdited)
            OnCellEdited(this, cell->column(), cell->row());
    });
}

StringGrid::~StringGrid() {
    // Destroying a focused grid moves the focus while it is half gone.
    disconnect(focusWatch_);
    OnExit = nullptr;
    OnCellEdited = nullptr;
}

void StringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const bool next = hint == QAbstractItemDelegate::EditNextItem;
    const bool previous = hint == QAbstractItemDelegate::EditPreviousItem;
    QTableWidget::closeEditor(editor, next || previous ? QAbstractItemDelegate::NoHint : hint);
    if (next || previous)
        focusNextPrevChild(next);
}

bool StringGrid::Holds(const QWidget* widget) const {
    return widget != nullptr && (widget == this || isAncestorOf(widget));
}

QTableWidgetItem& StringGrid::ItemAt(int col, int row) const {
    QTableWidgetItem* cell = (col >= 0 && col < columnCount() && row >= 0 && row < rowCount())
                                 ? item(row, col)
                                 : nullptr;
    if (cell == nullptr)
        throw std::out_of_range("StringGrid: no such cell");
    return *cell;
}

QString StringGrid::Cells(int col, int row) const {
    return ItemAt(col, row).text();
}

void StringGrid::SetCells(int col, int row, const QString& text) {
    QTableWidgetItem& cell = ItemAt(col, row);
    const bool was = std::exchange(writing_, true);
    cell.setText(text);
    cell.setData(Qt::UserRole, text);
    writing_ = was;
}

QString StringGrid::Shown(int col, int row) const {
    return ItemAt(col, row).data(Qt::UserRole).toString();
}

void StringGrid::CommitEditor() {
    if (state() != QAbstractItemView::EditingState)
        return;
    // The open editor is the viewport's visible child.
    for (QWidget* editor : viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (editor->isVisible()) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
            return;
        }
    }
}

}  // namespace vadero
