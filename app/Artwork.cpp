#include "app/Artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace vadero {

void PaintMakerLogo(QPainter& p, double size, LogoStyle style) {
    // The colour that symbolic icons are drawn in; the desktop recolours it.
    const QColor ink(0x2E, 0x34, 0x36);
    const bool colour = style == LogoStyle::Colour;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(colour ? QColor(0x10, 0x30, 0x80) : ink, colour ? 1.5 : 2.5));
    p.setBrush(colour ? QBrush(QColor(0x20, 0x60, 0xC0)) : QBrush(Qt::NoBrush));
    p.drawEllipse(colour ? QRectF(1, 1, 30, 30) : QRectF(1.25, 1.25, 29.5, 29.5));
    // An "N" drawn as a loop signal: rise, flat top, fall.
    QPainterPath n;
    n.moveTo(9, 23);
    n.lineTo(9, 9);
    n.lineTo(23, 23);
    n.lineTo(23, 9);
    p.setPen(QPen(colour ? QColor(Qt::white) : ink, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(n);
    p.restore();
}

QImage MakerLogoImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    PaintMakerLogo(p, size, LogoStyle::Colour);
    p.end();
    return image;
}

QPixmap MakerLogo(int size) {
    return QPixmap::fromImage(MakerLogoImage(size));
}

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
