#include "app/check/PointTable.h"

#include <QHeaderView>

#include "app/LocaleText.h"
#include "app/NumberEntry.h"
#include "app/check/CheckTexts.h"

namespace vadero {

namespace {

constexpr int kColumns = PointTable::kResult + 1;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

PointTable::PointTable(QWidget* parent) : QTableWidget(0, kColumns, parent) {
    setObjectName(QStringLiteral("TablePoints"));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int row = fontMetrics().height() + 6;
    verticalHeader()->setDefaultSectionSize(row);
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    horizontalHeader()->setStretchLastSection(true);
    // Room for a plan of a few points without scrolling.
    setMinimumHeight(horizontalHeader()->sizeHint().height() + 7 * row + 2 * frameWidth());
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setWordWrap(false);
}

void PointTable::SetText(int row, int column, const QString& text, bool nominal) {
    auto* cell = item(row, column);
    if (cell == nullptr) {
        cell = new QTableWidgetItem;
        cell->setFlags(Qt::ItemIsEnabled);
        cell->setTextAlignment(column <= kDirection ? Qt::AlignCenter
                                                    : Qt::AlignRight | Qt::AlignVCenter);
        setItem(row, column, cell);
    }
    cell->setText(text);
    // Nominal values stand greyed until the point gives its own.
    cell->setForeground(nominal ? palette().placeholderText() : palette().text());
}

void PointTable::Mark(int row, bool asked) {
    for (int column = 0; column < columnCount(); ++column)
        if (QTableWidgetItem* cell = item(row, column))
            cell->setBackground(asked ? palette().alternateBase() : palette().base());
}

void PointTable::ShowPlan(const check::Record& r) {
    EndAsking();
    const bool source = r.settings.mode == check::Mode::Source;
    const QString unit = Q(r.settings.instrument.unit);
    const QString loop = Q(r.plan.loop.unit);
    setHorizontalHeaderLabels(
        {tr("N°"), tr("Sens"), tr("Nominal (%)"), tr("Calibrateur (%1)").arg(loop),
         source ? tr("Lecture (%1)").arg(unit) : tr("Entrée (%1)").arg(unit),
         tr("Idéal (%1)").arg(source ? unit : loop), tr("Écart (%)"), tr("Résultat")});
    clearContents();
    setRowCount(int(r.plan.points.size()));
    for (int row = 0; row < rowCount(); ++row) {
        const check::PlannedPoint& p = r.plan.points[std::size_t(row)];
        SetText(row, kNumber, QString::number(p.number));
        SetText(row, kDirection, DirectionText(p.direction));
        SetText(row, kNominal, ShowNumber(p.percent, "#0.00").trimmed());
        SetText(row, kCalibrator, source ? Value3(p.loopValue) : QString(), true);
        SetText(row, kReading, source ? QString() : Value3(p.instrument), true);
        for (const int column : {kIdeal, kError, kResult}) SetText(row, column, QString());
    }
}

void PointTable::ShowTaken(const check::Record& r) {
    for (std::size_t k = 0; k < r.points.size() && int(k) < rowCount(); ++k) {
        const check::PointResult& p = r.points[k];
        const int row = int(k);
        SetText(row, kCalibrator, p.state == 0 ? Value3(p.calibratorValue) : ResultText(p));
        SetText(row, kReading, ReadingText(p.reading));
        SetText(row, kIdeal, Value3(p.ideal));
        SetText(row, kError, SignedError(p.error));
        SetText(row, kResult, ResultText(p));
        item(row, kResult)
            ->setForeground(p.pass ? QColor(0x1a, 0x80, 0x33) : QColor(0xbf, 0x1a, 0x1a));
    }
}

void PointTable::ShowGenerated(int row, const QString& text) {
    if (row >= 0 && row < rowCount())
        SetText(row, kCalibrator, text);
}

NumberEntry& PointTable::AskReading(int row, NumberField field) {
    if (asked_ != nullptr && askedRow_ == row)
        return *asked_;
    EndAsking();
    asked_ = new NumberEntry;
    asked_->setObjectName(QStringLiteral("EdReading"));
    asked_->setAlignment(Qt::AlignRight);
    asked_->SetField(std::move(field));
    asked_->ShowHeld();
    askedRow_ = row;
    Mark(row, true);
    setCellWidget(row, kReading, asked_);
    scrollToItem(item(row, kNumber));
    asked_->setFocus();
    return *asked_;
}

void PointTable::EndAsking() {
    if (asked_ == nullptr)
        return;
    // Taken or not, it takes nothing more. Its handler stays, and the table
    // deletes it later: it may be the entry whose Enter is being handled.
    asked_->SetField(std::function<NumberField()>());
    Mark(askedRow_, false);
    removeCellWidget(askedRow_, kReading);
    asked_ = nullptr;
    askedRow_ = -1;
}

}  // namespace vadero
