#pragma once
// The curve of the trend: the shown span of measurements (TrendSpan.h)
// against the clock time, the value axis in the latest point's unit; an
// overrun is drawn at the edge it passed and named "Dep+" or "Dep-".

#include <QWidget>

#include "app/trend/TrendSeries.h"

namespace vadero {

class TrendPlot : public QWidget {
    Q_OBJECT

  public:
    TrendPlot(const TrendSeries& series, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const TrendSeries& series_;
};

}  // namespace vadero
