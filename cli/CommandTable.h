#pragma once
// The commands of lcx3, one row each: what the parser declares, what is
// checked before anything is opened, and what runs.

#include <string>
#include <vector>

#include "cli/Task.h"

namespace vadero::cli {

struct Options;
struct Plan;
struct Job;
struct Outcome;
class Backend;

// What follows a command's name on the command line.
enum class Operand { None, File, Settings, ValueUnit };

struct Command {
    std::string name;
    std::string summary;
    std::string example;  // one line a person can copy, with what it does
    Operand operand = Operand::None;
    bool verifies = false;    // write, read back and compare; --no-verify skips the read
    bool opensDevice = true;  // list only looks
    std::string done;         // what -d all counts: "4 of 4 calibrators <done>"
    // Checks arguments and files; throws UsageError before any device is looked at.
    Plan (*check)(const Options&) = nullptr;
    Task<Outcome> (*run)(Job&) = nullptr;
    // Instead of run once per calibrator: a command that opens its calibrators
    // itself and returns the exit status (serve).
    int (*runAlone)(const Options&, Backend&) = nullptr;
};

const std::vector<Command>& Commands();
const Command* FindCommand(const std::string& name);

}  // namespace vadero::cli
