#include "cli/CheckOptions.h"

#include <CLI/CLI.hpp>

#include "cli/Completion.h"

namespace vadero::cli {

void DeclareCheck(CLI::App& c, CheckArguments& a, CompletionHints& hints) {
    c.add_option("--tag", a.tag, "the instrument's tag, as the record names it (TT-101)");
    c.add_option("--instrument", a.instrument,
                 "its range and unit, LOWER..UPPER UNIT (\"0..150 degC\")");
    c.add_option("--mode", a.mode,
                 "source: the calibrator generates, you read the instrument (the default); "
                 "measure: you apply the input, the calibrator measures");
    hints.values["--mode"] = {"source", "measure"};
    c.add_option("--points", a.points, "percent of span, \"0,25,50,75,100\" by default");
    c.add_flag("--up-down", a.upDown, "each point again on the way down (hysteresis)");
    c.add_option("--tolerance", a.tolerance, "percent of span, above 0 (default 0.25)");
    c.add_flag("--as-found", a.asFound, "before adjustment (the default)");
    c.add_flag("--as-left", a.asLeft, "after adjustment");
    c.add_option("--technician", a.technician, "who does the check, as the record names it");
    c.add_option("--loop", a.loop,
                 "the loop's signal, 0-20mA, 4-20mA or 0-10V (default: the calibrator's range; "
                 "in measure mode 4-20mA, or 0-10V in voltage measure)");
    hints.values["--loop"] = {"0-20mA", "4-20mA", "0-10V"};
    c.add_option("--readings", a.readings,
                 "a CSV of the readings, one row per point, instead of asking at each");
    hints.files.insert("--readings");
    c.add_option("--record", a.record, "the folder the record goes to (default: this one)");
    hints.files.insert("--record");
    c.add_option("--dwell", a.dwell, "seconds before each reading is asked or taken (default 0)");
    c.add_option("--samples", a.samples, "measure: the mean of N measurements (default 1)");
    c.add_option("--compare", a.compare,
                 "AS-FOUND.json AS-LEFT.json: two records side by side; nothing is opened")
        ->expected(2);
    hints.files.insert("--compare");
}

}  // namespace vadero::cli
