#pragma once
// The tabbed pages: a page change asked for by the user (click, wheel or key
// on the tabs, Ctrl+Tab) first asks OnChanging, which may refuse it; a change
// made by the program (setCurrentIndex) always takes place.

#include <QTabWidget>
#include <functional>

namespace vadero {

class PageControl : public QTabWidget {
    Q_OBJECT

  public:
    explicit PageControl(QWidget* parent = nullptr);

    std::function<void(QObject* Sender, bool& AllowChange)> OnChanging;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool Allowed();
};

}  // namespace vadero
