#include "app/demo/RegisterTable.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <utility>

#include "app/traffic/RegisterMeaning.h"

namespace vadero {

RegisterTable::RegisterTable(QObject* parent) : QAbstractTableModel(parent) {}

void RegisterTable::Restart() {
    first_ = true;
    marked_.fill(false);
    changedValue_.fill(false);
    emit dataChanged(index(0, 0), index(emu::kHoldingCount - 1, ColumnCount - 1));
}

void RegisterTable::Show(const emu::RegisterBank& bank, const emu::WriteCounts& writes, qint64 ms) {
    std::array<Row, emu::kHoldingCount> rows{};
    for (std::size_t k = 0; k < rows.size(); ++k) rows[k] = {bank.holding[k], writes[k], {}};
    for (const RegisterItem& item : HoldingMeaning(0, bank.holding, kRangeUnknown)) {
        rows[std::size_t(item.address)].meaning = item.text;
        for (int k = 1; k < item.count; ++k)
            rows[std::size_t(item.address + k)].meaning =
                tr("(suite du registre %1)").arg(item.address);
    }
    std::array<bool, emu::kHoldingCount> written{};
    std::array<bool, emu::kHoldingCount> changed{};
    bool any = false;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        changed[k] = rows[k].value != rows_[k].value;
        written[k] = changed[k] || rows[k].writes != rows_[k].writes;
        any = any || written[k];
    }
    const bool meaningChanged = [&] {
        for (std::size_t k = 0; k < rows.size(); ++k)
            if (rows[k].meaning != rows_[k].meaning)
                return true;
        return false;
    }();
    // The first registers shown are no change.
    const bool first = std::exchange(first_, false);
    if (!any && !meaningChanged)
        return;
    rows_ = rows;
    if (any && !first) {
        if (ms - lastChangeMs_ > kBurstGapMs) {
            marked_.fill(false);
            changedValue_.fill(false);
        }
        for (std::size_t k = 0; k < rows.size(); ++k) {
            marked_[k] = marked_[k] || written[k];
            changedValue_[k] = changedValue_[k] || changed[k];
        }
        lastChangeMs_ = ms;
    }
    emit dataChanged(index(0, 0), index(emu::kHoldingCount - 1, ColumnCount - 1));
}

int RegisterTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : emu::kHoldingCount;
}

int RegisterTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RegisterTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= emu::kHoldingCount)
        return {};
    const Row& row = rows_[std::size_t(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case ColAddress:
                    return index.row();
                case ColValue:
                    return row.value;
                case ColWrites:
                    return row.writes;
                case ColMeaning:
                    return row.meaning;
                default:
                    return {};
            }
        case Qt::ToolTipRole:
            return tr("Registre %1 : %2 (0x%3), écrit %4 fois\n%5")
                .arg(index.row())
                .arg(row.value)
                .arg(row.value, 4, 16, QChar('0'))
                .arg(row.writes)
                .arg(row.meaning);
        case Qt::TextAlignmentRole:
            return index.column() == ColMeaning ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        case Qt::FontRole: {
            if (!changedValue_[std::size_t(index.row())])
                return {};
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        case Qt::BackgroundRole:
            return marked_[std::size_t(index.row())] ? QBrush(QColor(0xFF, 0xF0, 0xA0))
                                                     : QVariant();
        default:
            return {};
    }
}

QVariant RegisterTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
        case ColAddress:
            return tr("N°");
        case ColValue:
            return tr("Valeur");
        case ColWrites:
            return tr("Écrit");
        case ColMeaning:
            return tr("Signification");
        default:
            return {};
    }
}

}  // namespace vadero
