#include "app/trend/TrendWindow.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/LocaleText.h"
#include "app/trend/TrendPlot.h"
#include "calibrator/Backup.h"

namespace vadero {

TrendWindow::TrendWindow(const std::function<int(QDialog&)>& runModal,
                         const ChooseFileFn& chooseFile, QWidget* parent)
    : QWidget(parent, Qt::Window),
      Now([] { return QDateTime::currentMSecsSinceEpoch(); }),
      BtnPause(new QPushButton("Pause", this)),
      BtnSaveCsv(new QPushButton("Enregistrer en CSV…", this)),
      LblValue(new QLabel(this)),
      LblState(new QLabel(this)),
      Plot(new TrendPlot(series_, this)),
      runModal_(runModal),
      chooseFile_(chooseFile) {
    setObjectName("TrendWindow");
    setWindowTitle("Tendance de la mesure");
    BtnPause->setObjectName("BtnPause");
    BtnPause->setCheckable(true);
    BtnSaveCsv->setObjectName("BtnSaveCsv");
    LblValue->setObjectName("LblValue");
    QFont large = LblValue->font();
    large.setPointSize(large.pointSize() + 4);
    large.setBold(true);
    LblValue->setFont(large);
    LblValue->setMinimumWidth(120);
    LblState->setObjectName("LblState");

    auto* top = new QHBoxLayout;
    top->addWidget(BtnPause);
    top->addWidget(BtnSaveCsv);
    top->addStretch();
    top->addWidget(LblState);
    top->addWidget(LblValue);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Plot, 1);
    resize(560, 340);

    connect(BtnPause, &QPushButton::toggled, this,
            [this](bool on) { LblState->setText(on ? "En pause" : QString()); });
    connect(BtnSaveCsv, &QPushButton::clicked, this, Guarded([this] { BtnSaveCsvClick(); }));
}

bool TrendWindow::Sampling() const {
    return isVisible() && !BtnPause->isChecked();
}

void TrendWindow::Record(const TLCX& lcx) {
    const TrendPoint point = TrendSeries::Measured(Now(), lcx.Params().Range(), lcx.MeasureRaw());
    Add(point);
    LblState->clear();
    switch (point.code) {
        case 1:
            LblValue->setText("Dep+");
            break;
        case 2:
            LblValue->setText("Dep-");
            break;
        default:
            LblValue->setText(
                ShowNumber(point.value, DecimalsFormat(lcx.Params().OutputDecimals())) + " " +
                UnitOfRange(point.range));
            break;
    }
}

void TrendWindow::Missed() {
    LblState->setText("Pas de réponse du calibrateur");
}

void TrendWindow::Add(const TrendPoint& point) {
    series_.Add(point);
    Plot->update();
}

void TrendWindow::BtnSaveCsvClick() {
    const QString path =
        chooseFile_(this, {"Enregistrer la tendance", "CSV (*.csv)", "tendance.csv", true});
    if (path.isEmpty())
        return;
    const std::string why = WriteFileWhole(path.toStdString(), series_.Csv());
    if (why.empty())
        return;
    QMessageBox box(QMessageBox::Warning, windowTitle(),
                    "La tendance n'a pas été enregistrée :\n" + QString::fromStdString(why),
                    QMessageBox::Ok, this);
    runModal_(box);
}

}  // namespace vadero
