#pragma once
// Where the program puts its windows: the main window centred on its screen,
// the other windows beside it, placed again while the window manager places
// or the user moves the main window, until the user moves them themselves.

#include <QObject>
#include <QPoint>

class QWidget;

namespace vadero {

// Centres a top-level window on its screen's available area, frame included
// as far as it is known.
void CentreOnScreen(QWidget& window);

class BesidePlacement : public QObject {
    Q_OBJECT

  public:
    enum class Side { Right, Left };

    // Both must outlive this object; `follower` is a top-level window.
    BesidePlacement(QWidget& follower, QWidget& anchor, Side side);

    // Puts the follower beside the anchor now: on the side asked for, the
    // other one when the screen has no room there, tops aligned.
    void Place();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& follower_;
    QWidget& anchor_;
    const Side side_;
    bool following_ = true;
    QPoint placedAt_;
};

}  // namespace vadero
