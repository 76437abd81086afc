#pragma once
// What the window says of a parameter file, in its own language: why a file
// is refused and which of its values are unusual, naming each parameter by
// its page and caption, with its value and what it may hold.

#include <QString>
#include <QStringList>
#include <string>

#include "calibrator/BackupError.h"
#include "calibrator/LCXParams.h"

namespace vadero {

QString RefusalText(const BackupProblem& problem);

// The system's own reason in "cannot write PATH: REASON".
QString SystemReason(const std::string& why);

// The values a calibrator can hold but the window would not write, one line
// each.
QStringList UnusualValues(const TLCXParams& params);

}  // namespace vadero
