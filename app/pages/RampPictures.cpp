#include "app/pages/RampPictures.h"

#include <QFont>
#include <QPainter>
#include <QPolygon>

namespace vadero {

namespace {

const QColor kCurve(0x00, 0x00, 0xC0);
const QColor kGuide(0x80, 0x80, 0x80);

// One cycle from x0: rise, hold high, fall, hold low, each `step` wide.
QPolygon Cycle(int x0, int step, int low, int high) {
    return QPolygon({QPoint(x0, low), QPoint(x0 + step, high), QPoint(x0 + 2 * step, high),
                     QPoint(x0 + 3 * step, low), QPoint(x0 + 4 * step, low)});
}

void DrawCurve(QPainter& p, const QPolygon& curve) {
    p.setPen(QPen(kCurve, 2));
    p.drawPolyline(curve);
}

void DrawTimes(QPainter& p) {
    const int x0 = 6;
    const int step = 20;
    DrawCurve(p, Cycle(x0, step, 24, 5));
    p.setPen(Qt::black);
    for (int k = 0; k < 4; ++k) {
        p.drawText(QRect(x0 + k * step, 26, step, 13), Qt::AlignCenter,
                   QStringLiteral("t%1").arg(k + 1));
    }
}

void DrawLevels(QPainter& p) {
    const int high = 8;
    const int low = 31;
    p.setPen(QPen(kGuide, 1, Qt::DashLine));
    p.drawLine(18, high, 90, high);
    p.drawLine(18, low, 90, low);
    DrawCurve(p, Cycle(20, 17, low, high));
    p.setPen(Qt::black);
    p.drawText(QRect(0, high - 6, 18, 13), Qt::AlignCenter, QStringLiteral("L2"));
    p.drawText(QRect(0, low - 6, 18, 13), Qt::AlignCenter, QStringLiteral("L1"));
}

void DrawDelayRepeat(QPainter& p) {
    const int low = 24;
    const int high = 7;
    DrawCurve(p, QPolygon({QPoint(3, low), QPoint(22, low)}));
    DrawCurve(p, Cycle(22, 9, low, high));
    // The repeated cycle between brackets.
    p.setPen(Qt::black);
    p.drawPolyline(QPolygon({QPoint(23, 3), QPoint(20, 3), QPoint(20, 28), QPoint(23, 28)}));
    p.drawPolyline(QPolygon({QPoint(57, 3), QPoint(60, 3), QPoint(60, 28), QPoint(57, 28)}));
    p.drawText(QRect(3, 26, 17, 13), Qt::AlignCenter, QStringLiteral("D"));
    p.drawText(QRect(61, 9, 31, 14), Qt::AlignCenter,
               QString(QChar(0x00D7)) + QStringLiteral("Rep"));
}

}  // namespace

QPixmap DrawRampPicture(RampPicture picture) {
    QPixmap pixmap(kRampPictureWidth, kRampPictureHeight);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    QFont font = p.font();
    font.setPixelSize(10);
    p.setFont(font);
    switch (picture) {
        case RampPicture::Times:
            DrawTimes(p);
            break;
        case RampPicture::Levels:
            DrawLevels(p);
            break;
        case RampPicture::DelayRepeat:
            DrawDelayRepeat(p);
            break;
    }
    p.setPen(kGuide);
    p.drawRect(0, 0, kRampPictureWidth - 1, kRampPictureHeight - 1);
    return pixmap;
}

}  // namespace vadero
