#include <QPalette>
#include <QWidget>

#include "widgets/Led.h"
#include "widgets/gallery/WidgetGallery.h"

namespace vadero {

bool RenderLedGallery(const QString& dir) {
    // A coloured parent shows that the corners of the lamps are transparent.
    QWidget parent;
    parent.setFixedSize(104, 32);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(0x3A, 0x6E, 0xA5));
    parent.setPalette(palette);
    parent.setAutoFillBackground(true);

    const struct {
        bool status;
        TLedKind kind;
    } lamps[] = {{true, TLedKind::Red},
                 {false, TLedKind::Red},
                 {true, TLedKind::Green},
                 {false, TLedKind::Green}};
    int x = 8;
    for (const auto& lamp : lamps) {
        auto* led = new Tled(&parent);
        led->SetKind(lamp.kind);
        led->SetLedStatus(lamp.status);
        led->move(x, 8);
        x += 24;
    }
    parent.show();
    const QImage image = parent.grab().toImage();
    bool ok = SavePng(image, dir, QStringLiteral("leds"));
    ok = SavePng(Magnified(image, 8), dir, QStringLiteral("leds-x8")) && ok;
    return ok;
}

}  // namespace vadero
