#include "widgets/Fonts.h"

#include <QFont>

namespace vadero {

void InstallFontSubstitutes() {
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Serif"), QStringLiteral("DejaVu Serif"));
}

}  // namespace vadero
