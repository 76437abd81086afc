#pragma once
// The measurement filter's time as the settings page shows it.

#include <QString>

#include "calibrator/RegisterMap.h"

namespace vadero {

// Position x 3.75 s, in single precision, rounded to whole seconds with halves
// to even.
int FilterSeconds(int position);
// "Off" for 0 s, otherwise the seconds followed by " s".
QString FilterText(int position);

}  // namespace vadero
