#pragma once
// The calibrator's parameters as the window names and shows them: the page,
// the control's caption and the value as the page shows it, one entry per
// parameter (a user scale value over two registers is one), in the order of
// the pages. What the window says of a file and of a comparison uses them.

#include <QString>
#include <functional>
#include <vector>

#include "calibrator/LCXParams.h"

namespace vadero {

struct WindowParameter {
    QString page;
    QString caption;
    RegisterBlock registers;
    std::function<QString(const TLCXParams&)> show;
};

// Every register a complete write sends belongs to exactly one of them.
std::vector<WindowParameter> WindowParameters();

struct WindowDifference {
    QString page;
    QString caption;
    QString inFile;
    QString inWindow;
};

// Every parameter whose registers differ; where both show alike, the register
// words follow the values.
std::vector<WindowDifference> DiffParameters(const TLCXParams& file, const TLCXParams& window);

}  // namespace vadero
