#pragma once
// The command line of lcx3.

#include <optional>
#include <string>
#include <vector>

#include "cli/CheckOptions.h"
#include "cli/SessionRunner.h"

namespace vadero::cli {

struct Options {
    int device = 1;
    bool allDevices = false;  // -d all: every matching calibrator, in parallel
    bool emulate = false;
    int emulatorDevices = 1;
    std::string emulatorState;
    std::string emulatorFault;  // empty or one of EmulatorFaults(), stuck:N for register N
    bool trace = false;
    bool json = false;
    Pace pace = Pace::Tick;
    bool verify = true;
    // measure --watch
    bool watch = false;
    double interval = 0.75;  // seconds between measurements: one tick
    int count = 0;           // 0: until a signal
    bool csv = false;
    // serve
    std::string listen;  // empty: 127.0.0.1:1502
    bool readOnly = false;
    // output --steps: a loop check
    std::string steps;            // "0,25,50,75,100"; empty: one value
    std::optional<double> dwell;  // seconds each point is held; none: Enter
    bool upDown = false;          // back down the same points
    std::string end;              // where the output is left; empty: the last point
    CheckArguments check;         // check: a loop check and its record
    std::string command;
    std::vector<std::string> arguments;
};

struct ParseOutcome {
    std::optional<Options> options;  // empty: exit with code after printing
    int code = 0;
};

ParseOutcome ParseOptions(int argc, const char* const* argv);

// The values some options take, for their checks, help and completion.
const std::vector<std::string>& Paces();           // tick, fast
const std::vector<std::string>& EmulatorFaults();  // off, unplugged, noisy, slow, stuck
const std::vector<std::string>& OutputUnits();     // mA, V, %, user
// The register that "--emulator-fault stuck" keeps: the filter.
inline constexpr int kStuckByDefault = 3;

}  // namespace vadero::cli
