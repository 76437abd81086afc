#pragma once
// The page of a loop check's record that a lab files: one A4 page with the
// header, the table of points, the error plotted against the nominal percent
// with the tolerance band, the verdict in large type and the signature lines,
// in French, or in English when the calibrator's display is English. Drawn
// with cairo, whose PDF surface embeds the fonts it uses and needs no display.

#include <string>

#include "check/Record.h"

namespace vadero::report {

// The PDF file's bytes; throws std::runtime_error when cairo fails.
std::string RecordPdf(const check::Record& record);

}  // namespace vadero::report
