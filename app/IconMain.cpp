// vadero-icons: draws the application icon into a hicolor theme tree,
// OUT/<size>x<size>/apps/vadero.png for each size given. Run by the build;
// it needs no display.
#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Artwork.h"

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
    return 0;
}
