#include <QPainter>
#include <array>

#include "widgets/SEGMENTS.h"
#include "widgets/gallery/WidgetGallery.h"

namespace vadero {

namespace {

struct Example {
    const char* name;
    int nbDigit;
    bool halfDigit;
    int pointDecimal;
    int nb;
};

constexpr std::array<Example, 13> kExamples{{
    {"new", 4, false, 0, 0},
    {"5d-p2-minus5", 5, false, 2, -5},
    {"5d-99999", 5, false, 0, 99999},
    {"5d-100000", 5, false, 0, 100000},
    {"5d-minus10000", 5, false, 0, -10000},
    {"2d-100", 2, false, 0, 100},
    {"4dh-19999", 4, true, 0, 19999},
    {"4dh-20000", 4, true, 0, 20000},
    {"4dh-minus12345", 4, true, 0, -12345},
    {"4dh-minus123", 4, true, 0, -123},
    {"3dh-1999", 3, true, 0, 1999},
    {"3dh-2000", 3, true, 0, 2000},
    {"1d-7", 1, false, 0, 7},
}};

QImage Render(const Example& e, TStyle style) {
    TSEG seg;
    seg.SetStyle(style);
    seg.SetNbDigit(e.nbDigit);
    seg.SetHalfDigit(e.halfDigit);
    seg.SetPointDecimal(e.pointDecimal);
    seg.SetNb(e.nb);
    return seg.grab().toImage();
}

}  // namespace

bool RenderSegGallery(const QString& dir) {
    bool ok = true;
    for (const TStyle style : {TStyle::LCD, TStyle::LED}) {
        const QString look = style == TStyle::LCD ? QStringLiteral("lcd") : QStringLiteral("led");
        // One sheet per look as well, each display under its name.
        QImage sheet(QSize(260, static_cast<int>(kExamples.size()) * 70), QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        int y = 0;
        for (const Example& e : kExamples) {
            const QImage image = Render(e, style);
            ok = SavePng(image, dir, QStringLiteral("seg-%1-%2").arg(look, e.name)) && ok;
            painter.drawText(4, y + 12, QString::fromLatin1(e.name));
            painter.drawImage(4, y + 16, image);
            y += 70;
        }
        painter.end();
        ok = SavePng(sheet, dir, QStringLiteral("seg-%1-sheet").arg(look)) && ok;
    }
    return ok;
}

}  // namespace vadero
