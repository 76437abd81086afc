#pragma once
// Where the program puts its windows: the main window centred on its screen,
// the other windows beside it, never over it, placed again while the window
// manager places or the user moves the main window, until the user moves
// them themselves.

#include <QObject>
#include <QPoint>
#include <QRect>

class QWidget;

namespace vadero {

// Centres a top-level window on its screen's available area, frame included
// as far as it is known.
void CentreOnScreen(QWidget& window);

enum class Side { Right, Left };

struct BesideLayout {
    QRect follower;   // its frame
    QPoint anchorAt;  // where the anchor's frame goes: where it is, unless it made room
};

// Frames of a follower beside an anchor on a screen's available `area`: the
// side asked for when it has the room, else the other one. When neither
// has, the follower takes the side with more room, narrowed as far as
// `leastWidth`, and the anchor, if it may move, moves over as far as needed
// and as the screen allows. What still does not fit passes the screen's
// edge rather than covering the anchor, unless less than a third of it
// would show: on a screen that small it stays on the screen. Tops are
// aligned, within the area.
BesideLayout LayOutBeside(const QRect& area, const QRect& anchor, QSize follower, int leastWidth,
                          Side side, bool mayMoveAnchor);

// Keeps a window (the demo's panel, a tool's window) beside another.
class BesidePlacement : public QObject {
    Q_OBJECT

  public:
    using Side = vadero::Side;

    // Both must outlive this object; `follower` is a top-level window.
    BesidePlacement(QWidget& follower, QWidget& anchor, Side side);

    // Puts the follower beside the anchor now, moving the anchor over when
    // the screen has no room on either side; done when the follower is shown.
    void Place();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void PlaceBeside(bool mayMoveAnchor);

    QWidget& follower_;
    QWidget& anchor_;
    const Side side_;
    bool following_ = true;
    QPoint placedAt_;
};

}  // namespace vadero
