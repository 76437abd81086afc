// widget-gallery DIR: renders the display widgets to PNG files in DIR.

#include <QApplication>
#include <QDir>
#include <QFont>
#include <cstdio>

#include "widgets/Fonts.h"
#include "widgets/gallery/CurveGallery.h"
#include "widgets/gallery/WidgetGallery.h"

namespace vadero {

bool SavePng(const QImage& image, const QString& dir, const QString& name) {
    const QString path = QDir(dir).filePath(name + QStringLiteral(".png"));
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "widget-gallery: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QImage Magnified(const QImage& image, int factor) {
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace vadero

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: widget-gallery DIR\n");
        return 2;
    }
    // Renders without a display unless a platform is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    vadero::InstallFontSubstitutes();
    QApplication::setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "widget-gallery: cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = vadero::RenderSegGallery(dir);
    ok = vadero::RenderLedGallery(dir) && ok;
    ok = vadero::RenderControlGallery(dir) && ok;
    vadero::RenderCurveGallery(dir);
    return ok ? 0 : 1;
}
