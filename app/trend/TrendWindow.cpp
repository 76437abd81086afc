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
#include "app/trend/TrendSpan.h"
#include "calibrator/Backup.h"

namespace vadero {

TrendWindow::TrendWindow(const std::function<int(QDialog&)>& runModal,
                         const ChooseFileFn& chooseFile, QWidget* parent)
    : QWidget(parent, Qt::Window),
      Now([] { return QDateTime::currentMSecsSinceEpoch(); }),
      BtnPause(new QPushButton(tr("Pause"), this)),
      BtnSaveCsv(new QPushButton(tr("Enregistrer en CSV…"), this)),
      LblValue(new QLabel(this)),
      LblState(new QLabel(this)),
      LblStats(new QLabel(this)),
      Plot(new TrendPlot(series_, this)),
      runModal_(runModal),
      chooseFile_(chooseFile) {
    setObjectName("TrendWindow");
    setWindowTitle(tr("Tendance de la mesure"));
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
    LblStats->setObjectName("LblStats");
    LblStats->setWordWrap(true);  // a narrow window keeps it whole

    auto* top = new QHBoxLayout;
    top->addWidget(BtnPause);
    top->addWidget(BtnSaveCsv);
    top->addStretch();
    top->addWidget(LblState);
    top->addWidget(LblValue);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Plot, 1);
    layout->addWidget(LblStats);
    resize(560, 360);

    connect(BtnPause, &QPushButton::toggled, this,
            [this](bool on) { LblState->setText(on ? tr("En pause") : QString()); });
    connect(BtnSaveCsv, &QPushButton::clicked, this, Guarded([this] { BtnSaveCsvClick(); }));
}

bool TrendWindow::Sampling() const {
    return isVisible() && !BtnPause->isChecked();
}

void TrendWindow::Record(const TLCX& lcx) {
    const TrendPoint point = TrendSeries::Measured(Now(), lcx.Params().Range(), lcx.MeasureRaw());
    picture_ = DecimalsFormat(lcx.Params().OutputDecimals());
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
            LblValue->setText(ShowNumber(point.value, picture_) + " " + UnitOfRange(point.range));
            break;
    }
}

void TrendWindow::Missed() {
    LblState->setText(tr("Pas de réponse du calibrateur"));
}

void TrendWindow::Add(const TrendPoint& point) {
    series_.Add(point);
    ShowStats();
    Plot->update();
}

void TrendWindow::ShowStats() {
    const TrendSpan span = SpanOf(series_.Points());
    const TrendStats stats = StatsOf(span);
    if (stats.count == 0) {
        LblStats->setText(stats.overruns == 0 ? QString() : tr("Aucune mesure dans la gamme"));
        return;
    }
    const auto shown = [this, &span](double value) {
        return ShowNumber(value, picture_) + " " + span.unit;
    };
    QString text = tr("Minimum %1   Maximum %2   Moyenne %3   (%4 mesures)")
                       .arg(shown(stats.minimum), shown(stats.maximum), shown(stats.mean))
                       .arg(stats.count);
    if (stats.overruns > 0)
        text += tr(", %1 dépassements laissés de côté").arg(stats.overruns);
    LblStats->setText(text);
}

void TrendWindow::BtnSaveCsvClick() {
    const QString path =
        chooseFile_(this, {tr("Enregistrer la tendance"), tr("CSV (*.csv)"), "tendance.csv", true});
    if (path.isEmpty())
        return;
    const std::string why = WriteFileWhole(path.toStdString(), series_.Csv());
    if (why.empty())
        return;
    QMessageBox box(
        QMessageBox::Warning, windowTitle(),
        tr("La tendance n'a pas été enregistrée :\n%1").arg(QString::fromStdString(why)),
        QMessageBox::Ok, this);
    runModal_(box);
}

}  // namespace vadero
