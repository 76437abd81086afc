#pragma once
// The "Registres" view of the demo's panel: the emulated calibrator's 72
// holding registers as it holds them, each with its value, how many times
// requests wrote it, and what it means. The registers that the latest burst
// of changes touched (a complete write's blocks, a tick apart) stand out
// until the next one, in bold those whose value changed.

#include <QAbstractTableModel>
#include <QString>
#include <array>

#include "emulator/DeviceCore.h"
#include "emulator/RegisterBank.h"

namespace vadero {

class RegisterTable : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { ColAddress, ColValue, ColWrites, ColMeaning, ColumnCount };

    // Changes closer than this belong to one burst.
    static constexpr qint64 kBurstGapMs = 2000;

    explicit RegisterTable(QObject* parent = nullptr);

    // Another calibrator is shown next: what it holds is no change.
    void Restart();
    // The calibrator's registers at `ms` (a steady clock's milliseconds).
    void Show(const emu::RegisterBank& bank, const emu::WriteCounts& writes, qint64 ms);
    // Written or changed in the latest burst.
    bool Marked(int address) const { return marked_[std::size_t(address)]; }
    // Its value changed in the latest burst.
    bool Changed(int address) const { return changedValue_[std::size_t(address)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    struct Row {
        std::uint16_t value = 0;
        std::uint32_t writes = 0;
        QString meaning;
    };
    std::array<Row, emu::kHoldingCount> rows_{};
    std::array<bool, emu::kHoldingCount> marked_{};
    std::array<bool, emu::kHoldingCount> changedValue_{};
    bool first_ = true;
    qint64 lastChangeMs_ = 0;
};

}  // namespace vadero
