#pragma once
// The axes of a loop check's error plot, the same on the record's page and in
// the window: the nominal percent across, with room beside the first and
// last points, and the error in percent of span up and down, the tolerance
// band well inside.

#include <string>

#include "check/Record.h"

namespace vadero::report {

struct PlotScale {
    double xMin = 0;  // padding included
    double xMax = 100;
    double xPad = 0;
    double xStep = 10;
    double yMax = 1;  // the axis runs from -yMax to yMax
    double yStep = 0.5;
};

PlotScale ScaleOf(const check::Record& record);

// A tick's label with the decimals its step needs; never "-0".
std::string TickText(double value, double step);

}  // namespace vadero::report
