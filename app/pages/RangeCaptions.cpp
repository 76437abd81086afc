#include "app/pages/RangeCaptions.h"

#include <QCoreApplication>

namespace vadero {

const std::array<RangeCaptionTexts, kRangeCount> kRangeCaptions{{
    {QT_TRANSLATE_NOOP("vadero::RangeCaptions", "Génére 0-20mA"), "Output 0-20mA"},
    {QT_TRANSLATE_NOOP("vadero::RangeCaptions", "Génére 4-20mA"), "Output 4-20mA"},
    {QT_TRANSLATE_NOOP("vadero::RangeCaptions", "Génére 0-10V"), "Output 0-10V"},
    {QT_TRANSLATE_NOOP("vadero::RangeCaptions", "Mesure courant"), "Current measure"},
    {QT_TRANSLATE_NOOP("vadero::RangeCaptions", "Mesure tension"), "Voltage measure"},
    {QT_TRANSLATE_NOOP("vadero::RangeCaptions", "Mesure résistance"), "Resistor measure"},
}};

QString RangeCaption(int code) {
    if (code < 0 || code >= kRangeCount)
        return {};
    return QCoreApplication::translate("vadero::RangeCaptions",
                                       kRangeCaptions[static_cast<std::size_t>(code)].francais);
}

}  // namespace vadero
