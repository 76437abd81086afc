#include "app/Artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace vadero {

QImage MakerLogoImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(QColor(0x10, 0x30, 0x80), 1.5));
    p.setBrush(QColor(0x20, 0x60, 0xC0));
    p.drawEllipse(QRectF(1, 1, 30, 30));
    // An "N" drawn as a loop signal: rise, flat top, fall.
    QPainterPath n;
    n.moveTo(9, 23);
    n.lineTo(9, 9);
    n.lineTo(23, 23);
    n.lineTo(23, 9);
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(n);
    p.end();
    return image;
}

QPixmap MakerLogo(int size) { return QPixmap::fromImage(MakerLogoImage(size)); }

QPixmap ScanGlyph() {
    QPixmap pixmap(48, 48);
    const QColor background(0xFF, 0x00, 0xFF);
    pixmap.fill(background);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, 1));
    // Cable.
    p.setBrush(QColor(0x40, 0x40, 0x40));
    p.drawRect(21, 30, 6, 16);
    // Plug body and metal shell.
    p.setBrush(QColor(0x60, 0x60, 0x70));
    p.drawRect(14, 16, 20, 15);
    p.setBrush(QColor(0xC8, 0xC8, 0xD0));
    p.drawRect(16, 3, 16, 13);
    p.setBrush(Qt::black);
    p.drawRect(19, 7, 3, 3);
    p.drawRect(26, 7, 3, 3);
    // The USB trident on the body.
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(24, 19, 24, 28);
    p.drawLine(24, 22, 19, 20);
    p.drawLine(24, 24, 29, 22);
    p.end();
    return pixmap;
}

}  // namespace vadero
