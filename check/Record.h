#pragma once
// The record of a loop check that a lab files: the settings, the calibrator
// and its parameters as they stood, every point taken and the verdict. Its
// JSON and CSV texts are made here; the page is report/'s.

#include <chrono>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "check/Evaluate.h"
#include "check/PointPlan.h"
#include "check/Settings.h"
#include "modbus/RegisterImage.h"

namespace vadero::check {

enum class Verdict { Pass, Fail, Incomplete };
const char* VerdictName(Verdict verdict);  // "pass", "fail", "incomplete"

// The calibrator the check ran on, as it stood when the check began.
struct CalibratorSeen {
    int number = 1;  // of lcx3 list
    std::string serial;
    std::string path;
    RegisterImage holding{};
};

struct Record {
    Settings settings;
    PointPlan plan;
    CalibratorSeen calibrator;
    std::string tool;  // "lcx3 1.0.0"
    std::chrono::system_clock::time_point start{};
    std::chrono::system_clock::time_point end{};
    bool complete = false;  // every planned point was taken
    std::vector<PointResult> points;

    // The point to take next; nullptr once every one is in.
    const PlannedPoint* Next() const;
    // Fail as soon as a point fails; otherwise pass once complete.
    Verdict Result() const;
    // The calibrator's display language is English (the page follows it).
    bool English() const;
};

nlohmann::json RecordToJson(const Record& record);
// A header of "field,value" rows, a blank line, then one row per point under
// its header row.
std::string RecordToCsv(const Record& record);
// "TT-101-20261209T140307-as-found": the tag (characters a file name takes
// kept, others '_'), the start and the stage.
std::string RecordName(const Record& record);

// Values as the record shows them.
std::string Fixed(double value, int decimals);
std::string SignedFixed(double value, int decimals);  // "+0.067", "-0.200"

}  // namespace vadero::check
