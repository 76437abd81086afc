#pragma once
// The page "Divers": the calibrator's display language and its measurement
// filter. The language chosen is the calibrator's; the window's captions stay
// French.

#include <QWidget>

class QLineEdit;
class QSlider;

namespace vadero {

class PageHost;
class TGroupBoxLangue;
class TRadioButtonLangue;

class OthersPage : public QWidget {
    Q_OBJECT

  public:
    explicit OthersPage(PageHost& host, QWidget* parent = nullptr);

    // Refresh step 2: checks the button of the stored language (0 or 1 only).
    void ShowLanguage();
    // Refresh step 3: the track bar at the stored filter (0 to 16 only).
    void ShowFilter();

    // The click handler of both language buttons.
    void RadioButtonLangue7Click();
    void TrFiltreChange();

  private:
    PageHost& host_;
    TGroupBoxLangue* grLangue_;
    TRadioButtonLangue* radioButtonLangue7_;
    TRadioButtonLangue* radioButtonLangue8_;
    TGroupBoxLangue* grFiltre_;
    QSlider* trFiltre_;
    QLineEdit* edFiltre_;
};

}  // namespace vadero
