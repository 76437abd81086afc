#pragma once
// A loop check's error at each point taken against its nominal percent, the
// tolerance band behind, on the same axes as the record's page: up-going
// points as dots, down-going as squares.

#include <QWidget>

#include "check/Record.h"

namespace vadero {

class ErrorPlot : public QWidget {
    Q_OBJECT

  public:
    // The record must outlive the plot; nothing is drawn before a plan is in.
    explicit ErrorPlot(const check::Record& record, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const check::Record& record_;
};

}  // namespace vadero
