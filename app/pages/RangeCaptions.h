#pragma once
// The six ranges as the window names them: the captions of the range buttons,
// French (the source of the translation) and the calibrator maker's English.

#include <QString>
#include <array>

#include "calibrator/RegisterMap.h"

namespace vadero {

struct RangeCaptionTexts {
    const char* francais;
    const char* anglais;
};

// Marked for translation in the context "vadero::RangeCaptions".
extern const std::array<RangeCaptionTexts, kRangeCount> kRangeCaptions;

// The translated caption of a range code; empty for an unknown one.
QString RangeCaption(int code);

}  // namespace vadero
