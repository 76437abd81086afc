#include "app/demo/DemoWindows.h"

#include <QWidget>

#include "app/WindowPlacement.h"

namespace vadero {

void ShowBeside(QWidget& main, QWidget& panel) {
    // Placed again each time the window manager places the main window,
    // until the user moves the panel.
    new BesidePlacement(panel, main, Side::Right);
    main.show();
    panel.setAttribute(Qt::WA_ShowWithoutActivating);
    panel.show();
    main.activateWindow();
}

}  // namespace vadero
