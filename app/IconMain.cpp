// vadero-icons: draws the application icon into a hicolor theme tree,
// OUT/<size>x<size>/apps/vadero.png for each size given, and the scalable
// and symbolic SVGs, OUT/scalable/apps/vadero.svg and
// OUT/symbolic/apps/vadero-symbolic.svg. Run by the build; it needs no
// display.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgGenerator>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Artwork.h"

namespace {

bool WriteSvg(const QString& dir, const QString& name, vadero::LogoStyle style) {
    if (!QDir().mkpath(dir))
        return false;
    constexpr int kSize = 32;
    QSvgGenerator svg;
    svg.setFileName(dir + "/" + name);
    svg.setSize(QSize(kSize, kSize));
    svg.setViewBox(QRect(0, 0, kSize, kSize));
    svg.setTitle("VADERO");
    svg.setDescription("The VADERO application icon");
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    vadero::PaintMakerLogo(painter, kSize, style);
    return painter.end();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: vadero-icons OUT SIZE...\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 16 || size > 1024) {
            std::fprintf(stderr, "vadero-icons: bad size %s\n", argv[i]);
            return 2;
        }
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        if (!QDir().mkpath(dir) || !vadero::MakerLogoImage(size).save(dir + "/vadero.png", "PNG")) {
            std::fprintf(stderr, "vadero-icons: cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    if (!WriteSvg(out + "/scalable/apps", "vadero.svg", vadero::LogoStyle::Colour) ||
        !WriteSvg(out + "/symbolic/apps", "vadero-symbolic.svg", vadero::LogoStyle::Symbolic)) {
        std::fprintf(stderr, "vadero-icons: cannot write the SVG icons in %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
