#pragma once
// "Tendance de la mesure": while shown and not paused, the measurement read at
// each tick the session has free, drawn against time, with the minimum,
// maximum and mean of the span shown, and "Enregistrer en CSV…" for the
// points kept.

#include <QDialog>
#include <QWidget>
#include <functional>

#include "app/FileChoice.h"
#include "app/trend/TrendSeries.h"
#include "calibrator/LCX.h"

class QLabel;
class QPushButton;

namespace vadero {

class TrendPlot;

class TrendWindow : public QWidget {
    Q_OBJECT

  public:
    // The dialogs go through the main window's hooks.
    TrendWindow(const std::function<int(QDialog&)>& runModal, const ChooseFileFn& chooseFile,
                QWidget* parent);

    // The clock of the points, milliseconds since the epoch.
    std::function<qint64()> Now;

    QPushButton* BtnPause;
    QPushButton* BtnSaveCsv;
    QLabel* LblValue;
    QLabel* LblState;
    QLabel* LblStats;  // minimum, maximum and mean of the span shown
    TrendPlot* Plot;

    // Whether the trend wants a measurement at the next free tick.
    bool Sampling() const;
    // The measurement the session has just received for the trend.
    void Record(const TLCX& lcx);
    // Its measurement was not answered.
    void Missed();
    // Adds a point as if measured (the picture run's minute of history).
    void Add(const TrendPoint& point);
    const TrendSeries& Series() const { return series_; }

    void BtnSaveCsvClick();

  private:
    void ShowStats();

    const std::function<int(QDialog&)>& runModal_;
    const ChooseFileFn& chooseFile_;
    TrendSeries series_;
    std::string picture_ = "#0.000";  // of mA and V values, as the calibrator sets it
};

}  // namespace vadero
