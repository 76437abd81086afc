#pragma once
// lcx3 check: a loop check of an instrument, point by point, and its record.

#include <optional>
#include <string>

#include "check/Compare.h"
#include "check/Readings.h"
#include "check/Settings.h"
#include "cli/Task.h"

namespace vadero::cli {

struct Options;
struct Plan;
struct Job;
struct Outcome;

// What lcx3 check was asked, checked before anything is opened.
struct LoopCheckPlan {
    check::Settings settings;
    std::optional<check::Readings> readings;      // none: asked at each point
    std::string folder;                           // where the record goes
    std::optional<check::Comparison> comparison;  // check --compare: only this
};

// Throws UsageError for a bad argument, an unreadable file of readings or
// records, or a record folder that cannot be written.
Plan CheckLoopCheck(const Options& options);
Task<Outcome> CheckCommand(Job& job);

}  // namespace vadero::cli
