#pragma once
// What a command works with and what it hands back: the checked plan, the
// opened calibrator, and the outcome that is printed as text or JSON.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "calibrator/Conversions.h"
#include "calibrator/Parameters.h"
#include "cli/Backend.h"
#include "cli/ExitCodes.h"
#include "cli/Options.h"
#include "cli/Progress.h"
#include "cli/SessionRunner.h"
#include "cli/Task.h"

namespace vadero::cli {

struct OutputRequest {
    TValueUnit unit = TValueUnit::uPhysical;
    std::string unitText;  // as typed: mA, V, % or user
    double value = 0;
};

struct LoopCheckPlan;

// What the arguments ask for, checked before anything goes to the calibrator.
struct Plan {
    std::optional<Settings> settings;
    std::optional<RegisterImage> restored;
    std::vector<std::string> warnings;  // about the backup to restore
    std::optional<OutputRequest> output;
    std::vector<double> steps;  // output --steps: the points in the order commanded
    std::optional<double> end;  // output --steps --end: where the output is left
    std::shared_ptr<const LoopCheckPlan> loopCheck;  // check
    bool opensDevice = true;  // false: the command works on files only (check --compare)
};

struct Outcome {
    int status = kOk;
    std::string error;                 // what went wrong, in the command's words
    std::vector<std::string> details;  // lines that follow the error
    std::vector<std::string> warnings;
    nlohmann::json doc = nlohmann::json::object();  // the JSON result
    std::string text;                               // the result for a person
    std::string summary;  // the result in one line, for a bench of calibrators
    std::vector<std::pair<std::string, std::string>> rows;  // read: each parameter shown
    bool streamed = false;                                  // printed as it came (measure --watch)
};

class Stop;
class StepPacer;

struct Job {
    Job(const Options& o, const Plan& p, Backend& b, ProgressBar& progress)
        : options(o), plan(p), backend(b), bar(progress) {}

    const Options& options;
    const Plan& plan;
    Backend& backend;
    ProgressBar& bar;
    SessionRunner* runner = nullptr;  // opened, for the commands that open one
    std::string file;                 // backup: the file this calibrator's goes to
    bool bench = false;               // one of several calibrators served at once
    Stop* stop = nullptr;             // ends measure --watch
    StepPacer* pacer = nullptr;       // output --steps: the calibrators meet after each point

    TLCXParams& Params() { return runner->Lcx().Params(); }
    // "calibrator 1, serial LCX3-0001"
    std::string Where() const;
    nlohmann::json Identity() const;
    // Reads every parameter; on a time-out, the outcome saying `notDone`.
    Task<std::optional<Outcome>> ReadAll(std::string notDone);
    // A transfer that did not end: the calibrator went away, or did not answer.
    Outcome Unfinished(const std::string& notDone) const;
};

Outcome Failure(int status, std::string error);
Outcome TimedOut(const std::string& notDone);

// Prints the outcome (stdout: the result, or a JSON document in every case;
// stderr: the error and warnings) and returns its status.
int Report(const Outcome& outcome, bool json);

// The runs of the commands that change the calibrator or read it.
Task<Outcome> ReadCommand(Job& job);
Task<Outcome> BackupCommand(Job& job);
Task<Outcome> SetCommand(Job& job);
Task<Outcome> RestoreCommand(Job& job);
Task<Outcome> OutputCommand(Job& job);
Task<Outcome> MeasureCommand(Job& job);
Task<Outcome> StepsCommand(Job& job);
// Refused after the read, before anything is written: a value the range does
// not generate in that unit.
std::optional<Outcome> Refusal(const TLCXParams& params, const OutputRequest& request);
// An output value in its unit as the window shows it: mA and V with the
// calibrator's decimals, percent with two, user values in the user format.
std::string ShownOutput(const TLCXParams& params, TValueUnit unit, double value);
std::string StepsCsvHeader(bool withSerial);

}  // namespace vadero::cli
