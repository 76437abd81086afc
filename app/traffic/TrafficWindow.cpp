#include "app/traffic/TrafficWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/Guard.h"
#include "calibrator/Backup.h"
#include "transport/Identity.h"

namespace vadero {

namespace {
constexpr std::uint8_t kCalibratorNode = lcx3::kSlave;
}  // namespace

TrafficWindow::TrafficWindow(const std::function<int(QDialog&)>& runModal,
                             const ChooseFileFn& chooseFile, QWidget* parent)
    : QWidget(parent, Qt::Window),
      BtnPause(new QPushButton(tr("Pause"), this)),
      BtnClear(new QPushButton(tr("Effacer"), this)),
      BtnSave(new QPushButton(tr("Enregistrer…"), this)),
      LblCount(new QLabel(this)),
      List(new QTreeView(this)),
      runModal_(runModal),
      chooseFile_(chooseFile),
      log_(kCalibratorNode) {
    setObjectName("TrafficWindow");
    setWindowTitle(tr("Trafic Modbus"));
    BtnPause->setObjectName("BtnPause");
    BtnPause->setCheckable(true);
    BtnClear->setObjectName("BtnClear");
    BtnSave->setObjectName("BtnSave");
    LblCount->setObjectName("LblCount");

    List->setObjectName("List");
    List->setModel(&log_);
    List->setRootIsDecorated(false);
    List->setUniformRowHeights(true);  // 10,000 rows without measuring each
    List->setAlternatingRowColors(true);
    List->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List->header()->setStretchLastSection(true);
    List->setColumnWidth(TrafficLog::ColTime, 80);
    List->setColumnWidth(TrafficLog::ColDirection, 50);
    // The bytes' width follows the window's (resizeEvent).

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnPause);
    buttons->addWidget(BtnClear);
    buttons->addWidget(BtnSave);
    buttons->addStretch();
    buttons->addWidget(LblCount);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(List);
    resize(960, 420);

    connect(BtnPause, &QPushButton::toggled, this, Guarded([this](bool on) {
                log_.SetPaused(on);
                ShowCount();
            }));
    connect(BtnClear, &QPushButton::clicked, this, Guarded([this] {
                log_.Clear();
                ShowCount();
            }));
    connect(BtnSave, &QPushButton::clicked, this, Guarded([this] { BtnSaveClick(); }));
    // Before the view takes the new row: was the list at its end?
    connect(&log_, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] {
        const QScrollBar* bar = List->verticalScrollBar();
        atEnd_ = bar->value() == bar->maximum();
    });
    connect(&log_, &QAbstractItemModel::rowsInserted, this, [this] { FollowEnd(); });
    connect(&log_, &QAbstractItemModel::modelReset, this, [this] { FollowEnd(); });
    connect(&log_, &TrafficLog::frameHeld, this, [this] { FollowEnd(); });
    ShowCount();
}

void TrafficWindow::showEvent(QShowEvent* event) {
    // Frames came while it was hidden: the count and the end of the list catch up.
    ShowCount();
    if (atEnd_)
        List->scrollToBottom();
    QWidget::showEvent(event);
}

void TrafficWindow::resizeEvent(QResizeEvent* event) {
    // The bytes in full are in each row's tooltip: in a narrow window the
    // meaning keeps the room.
    List->setColumnWidth(TrafficLog::ColBytes, std::clamp(width() / 4, 140, 250));
    QWidget::resizeEvent(event);
}

void TrafficWindow::FollowEnd() {
    if (scrollDue_ || !isVisible())
        return;
    scrollDue_ = true;
    QTimer::singleShot(0, this, [this] {
        scrollDue_ = false;
        if (atEnd_)
            List->scrollToBottom();
        ShowCount();
    });
}

void TrafficWindow::ShowCount() {
    const qsizetype listed = qsizetype(log_.Frames().size());
    QString text = listed <= 1 ? tr("%1 trame").arg(listed) : tr("%1 trames").arg(listed);
    if (log_.Paused())
        text = tr("%1, %2 en attente").arg(text).arg(log_.Held());
    LblCount->setText(text);
}

void TrafficWindow::BtnSaveClick() {
    const QString path = chooseFile_(
        this, {tr("Enregistrer le trafic"), tr("Texte (*.txt)"), "trafic-modbus.txt", true});
    if (path.isEmpty())
        return;
    const std::string why = WriteFileWhole(path.toStdString(), log_.Text());
    if (why.empty())
        return;
    QMessageBox box(QMessageBox::Warning, windowTitle(),
                    tr("Le trafic n'a pas été enregistré :\n%1").arg(QString::fromStdString(why)),
                    QMessageBox::Ok, this);
    runModal_(box);
}

}  // namespace vadero
