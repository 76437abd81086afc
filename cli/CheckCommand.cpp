#include "cli/CheckCommand.h"

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "calibrator/Backup.h"
#include "calibrator/LocalTime.h"
#include "check/Evaluate.h"
#include "check/PointPlan.h"
#include "check/Record.h"
#include "cli/Job.h"
#include "cli/LineInput.h"
#include "cli/Stop.h"
#include "report/RecordFiles.h"

namespace vadero::cli {

namespace {

using check::Mode;
using check::PlannedPoint;
using check::PointResult;
using check::Record;

// The longest dwell: a day.
constexpr double kLongestDwell = 86400;

check::Settings SettingsOf(const CheckArguments& a) {
    if (a.tag.empty())
        throw UsageError("check needs --tag, the instrument's tag (TT-101)");
    if (a.instrument.empty())
        throw UsageError("check needs --instrument, its range and unit (\"0..150 degC\")");
    if (a.mode != "source" && a.mode != "measure")
        throw UsageError("--mode \"" + a.mode + "\": give source or measure");
    if (a.asFound && a.asLeft)
        throw UsageError("--as-found and --as-left: a check is one or the other");
    check::Settings s;
    s.tag = a.tag;
    s.instrument = check::ParseInstrument(a.instrument);
    s.mode = a.mode == "source" ? Mode::Source : Mode::Measure;
    s.points = check::ParsePoints(a.points);
    s.upDown = a.upDown;
    s.tolerance =
        ParseNumber("--tolerance \"" + a.tolerance + "\"", a.tolerance, -1e30, 1e30, false);
    s.stage = a.asLeft ? check::Stage::AsLeft : check::Stage::AsFound;
    s.technician = a.technician;
    if (!a.loop.empty())
        s.loop = check::ParseLoop(a.loop);
    s.dwellSeconds = ParseNumber("--dwell \"" + a.dwell + "\"", a.dwell, 0, kLongestDwell, false);
    s.samples = int(ParseNumber("--samples \"" + a.samples + "\"", a.samples, -1e9, 1e9, true));
    check::Validate(s);
    return s;
}

// The folder must take the record's files, or the check would be lost at its end.
std::string RecordFolder(const std::string& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        throw UsageError("--record " + folder + ": no such folder");
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        throw UsageError("--record " + folder + ": the folder cannot be written");
    return folder;
}

bool AnyCheckOption(const CheckArguments& a) {
    const CheckArguments plain;
    return !a.tag.empty() || !a.instrument.empty() || a.mode != plain.mode ||
           a.points != plain.points || a.upDown || a.tolerance != plain.tolerance || a.asFound ||
           a.asLeft || !a.technician.empty() || !a.loop.empty() || !a.readings.empty() ||
           a.record != plain.record || a.dwell != plain.dwell || a.samples != plain.samples;
}

std::string Three(double value) {
    return check::Fixed(value, 3);
}

std::string Of(const Record& r, const PlannedPoint& p) {
    return "point " + std::to_string(p.number) + " of " + std::to_string(r.plan.points.size());
}

// A point as it is taken, one line.
std::string PointLine(const Record& r, const PointResult& p) {
    const bool source = r.settings.mode == Mode::Source;
    const std::string& unit = r.settings.instrument.unit;
    const std::string& loop = r.plan.loop.unit;
    const std::string calibrator =
        Three(p.calibratorValue) + " " + loop + "  raw " + std::to_string(p.raw);
    const std::string reading = (source ? "reading " : "input ") + Three(p.reading) + " " + unit;
    const std::string ideal = "ideal " + Three(p.ideal) + " " + (source ? unit : loop);
    const char* result = p.state == 1   ? "Dep+, fail"
                         : p.state == 2 ? "Dep-, fail"
                         : p.pass       ? "pass"
                                        : "FAIL";
    return Of(r, p.planned) + "  " + DirectionName(p.planned.direction) + "  " +
           check::Fixed(p.planned.percent, 2) + " %  " +
           (source ? calibrator + "  " + reading : reading + "  " + calibrator) + "  " + ideal +
           "  error " + check::SignedFixed(p.error, 3) + " %  " + result + "\n";
}

// A point's outcome: its result, or a stop (neither), or a failed transfer.
struct PointStep {
    std::optional<PointResult> result;
    std::optional<Outcome> failure;
};

PointStep Taken(const PointResult& result) {
    PointStep step;
    step.result = result;
    return step;
}

PointStep Failed(Outcome failure) {
    PointStep step;
    step.failure = std::move(failure);
    return step;
}

PointStep Stopped() {
    return {};
}

Task<bool> Dwell(Job& job, const Record& r, const PlannedPoint& p, const std::string& what) {
    const double seconds = r.settings.dwellSeconds;
    if (seconds > 0 && !job.stop->Requested()) {
        std::fprintf(stderr, "lcx3: %s: %s; %s s to settle\n", Of(r, p).c_str(), what.c_str(),
                     check::Fixed(seconds, 1).c_str());
        Waiter held(job.runner->Loop());
        const Stop::Pause cutShort(*job.stop, held);
        co_await held.Until(std::chrono::milliseconds(std::llround(seconds * 1000)));
    }
    co_return !job.stop->Requested();
}

// The reading of a point: from the file, or typed (Enter: the nominal one,
// q: stop); none when the check stops.
Task<std::optional<double>> Reading(Job& job, const Record& r, const PlannedPoint& p,
                                    LineInput* input, std::string prompt) {
    const double nominal = check::NominalReading(p);
    const auto& readings = job.plan.loopCheck->readings;
    if (readings)
        co_return (*readings)[std::size_t(p.number - 1)].value_or(nominal);
    for (;;) {
        std::fprintf(stderr, "lcx3: %s: %s ", Of(r, p).c_str(), prompt.c_str());
        std::fflush(stderr);
        const std::optional<std::string> line = co_await input->Next();
        if (!line)
            co_return std::nullopt;
        std::string text = *line;
        text.erase(0, std::min(text.find_first_not_of(" \t\r"), text.size()));
        text.erase(std::min(text.find_last_not_of(" \t\r") + 1, text.size()));
        if (text.empty())
            co_return nominal;
        if (text == "q")
            co_return std::nullopt;
        try {
            co_return ParseNumber("", text, -1e30, 1e30, false);
        } catch (const UsageError&) {
            std::fprintf(stderr,
                         "lcx3: \"%s\" is no number: type the reading (a point for the "
                         "decimals), Enter for %s, q to stop\n",
                         text.c_str(), Three(nominal).c_str());
        }
    }
}

// Source: the calibrator generates the point, then the instrument is read.
Task<PointStep> SourcePoint(Job& job, const Record& r, const PlannedPoint& p, LineInput* input) {
    SessionRunner& runner = *job.runner;
    TLCXParams& params = job.Params();
    const bool sent = co_await runner.SetOutput(TValueUnit::uPhysical, float(p.loopValue));
    const int raw = params.OutputValue();
    bool confirmed = false;
    if (sent)
        confirmed = co_await runner.ReadOutput();
    if (!confirmed)
        co_return Failed(job.Unfinished(Of(r, p) + " was not confirmed"));
    if (params.OutputValue() != raw)
        co_return Failed(Failure(kMismatch, Of(r, p) + ": the calibrator holds raw " +
                                                std::to_string(params.OutputValue()) +
                                                ", not the " + std::to_string(raw) + " commanded"));
    const double value = check::CalibratorValue(runner.Lcx().GetOutput(TValueUnit::uPhysical));
    const std::string sentText = Three(value) + " " + r.plan.loop.unit + " sent";
    const bool settled = co_await Dwell(job, r, p, sentText);
    if (!settled)
        co_return Stopped();
    const std::optional<double> reading = co_await Reading(
        job, r, p, input,
        sentText + "; reading of " + r.settings.tag + " (" + r.settings.instrument.unit + ")?");
    if (!reading)
        co_return Stopped();
    co_return Taken(check::Evaluate(r.settings, r.plan.loop, p, value, raw, 0, *reading));
}

// Measure: the input is applied, then the calibrator measures the loop.
Task<PointStep> MeasurePoint(Job& job, const Record& r, const PlannedPoint& p, LineInput* input) {
    SessionRunner& runner = *job.runner;
    const std::string& unit = r.settings.instrument.unit;
    const std::optional<double> applied =
        co_await Reading(job, r, p, input,
                         "apply " + Three(p.instrument) + " " + unit + " to " + r.settings.tag +
                             "; input applied (" + unit + ")?");
    if (!applied)
        co_return Stopped();
    const bool settled = co_await Dwell(job, r, p, Three(*applied) + " " + unit + " applied");
    if (!settled)
        co_return Stopped();
    check::Samples samples;
    while (samples.Count() < r.settings.samples) {
        const bool measured = co_await runner.ReadMeasure();
        if (!measured)
            co_return Failed(job.Unfinished(Of(r, p) + " was not measured"));
        float v = 0;
        const int state = runner.Lcx().GetMeasure(v);
        samples.Add(v, runner.Lcx().MeasureRaw(), state);
    }
    co_return Taken(check::Evaluate(r.settings, r.plan.loop, p, samples.Value(), samples.Raw(),
                                    samples.State(), *applied));
}

Task<PointStep> TakePoint(Job& job, const Record& r, const PlannedPoint& p, LineInput* input) {
    if (r.settings.mode == Mode::Source) {
        PointStep step = co_await SourcePoint(job, r, p, input);
        co_return step;
    }
    PointStep step = co_await MeasurePoint(job, r, p, input);
    co_return step;
}

// The result in a few lines, and what went where.
std::string Summary(const Record& r, const report::WrittenRecord& written) {
    int within = 0;
    for (const PointResult& p : r.points) within += p.pass ? 1 : 0;
    std::string text = r.settings.tag + ": " + check::VerdictName(r.Result()) + ", " +
                       std::to_string(within) + " of " + std::to_string(r.plan.points.size()) +
                       " points within ±" + Three(r.settings.tolerance) + " % of span" +
                       (r.complete ? "" : " (incomplete: stopped before its last point)") + "\n";
    for (const std::string& file : written.files) text += "record: " + file + "\n";
    return text;
}

// The record written whole, and the outcome: the transfer that failed, the
// record that could not be written, or the verdict.
Outcome Filed(const Job& job, const Record& record, const std::optional<Outcome>& trouble) {
    const LoopCheckPlan& plan = *job.plan.loopCheck;
    const report::WrittenRecord written = report::WriteRecordFiles(record, plan.folder);

    Outcome out;
    out.doc = check::RecordToJson(record);
    out.doc["files"] = written.files;
    out.streamed = !job.options.json;
    if (!written.error.empty()) {
        // Nothing is lost: the record goes to stdout when its file cannot be written.
        if (!job.options.json)
            std::cout << check::RecordToJson(record).dump(2) << "\n" << std::flush;
        Outcome failure = trouble ? *trouble : Failure(kNotSaved, "");
        failure.error += std::string(trouble ? "; " : "") +
                         "the record was not written: " + written.error +
                         " (it is printed on stdout)";
        failure.doc = out.doc;
        return failure;
    }
    if (!job.options.json)
        std::cout << Summary(record, written) << std::flush;
    if (trouble) {
        Outcome failed = *trouble;
        failed.error += "; the record says incomplete";
        failed.doc = out.doc;
        return failed;
    }
    if (record.Result() != check::Verdict::Pass) {
        out.status = kNotPassed;
        out.error = record.Result() == check::Verdict::Fail
                        ? plan.settings.tag + " did not pass: a point is out of tolerance"
                        : plan.settings.tag + " was not checked to its last point";
    }
    return out;
}

}  // namespace

Plan CheckLoopCheck(const Options& o) {
    const CheckArguments& a = o.check;
    auto plan = std::make_shared<LoopCheckPlan>();
    Plan result;
    if (!a.compare.empty()) {
        if (AnyCheckOption(a))
            throw UsageError("check --compare takes two records and no other check option");
        const auto read = [](const std::string& path) {
            return ParseBackupText(ReadSmallFile(path, "record"));
        };
        plan->comparison = check::CompareRecords(read(a.compare[0]), a.compare[0],
                                                 read(a.compare[1]), a.compare[1]);
        result.opensDevice = false;
        result.loopCheck = plan;
        return result;
    }
    if (o.allDevices)
        throw UsageError("check runs on one calibrator, the instrument's: give -d N, not all");
    plan->settings = SettingsOf(a);
    plan->folder = RecordFolder(a.record);
    if (!a.readings.empty()) {
        plan->readings =
            check::ParseReadings(ReadSmallFile(a.readings, "file of readings"), a.readings);
        const int count = check::PointCount(plan->settings);
        if (int(plan->readings->size()) != count)
            throw UsageError(a.readings + " holds " + std::to_string(plan->readings->size()) +
                             " readings, and the check takes " + std::to_string(count) + " points");
    }
    result.loopCheck = plan;
    return result;
}

Task<Outcome> CheckCommand(Job& job) {
    const LoopCheckPlan& plan = *job.plan.loopCheck;
    if (plan.comparison) {
        Outcome out;
        out.text = plan.comparison->text;
        out.doc = plan.comparison->doc;
        co_return out;
    }
    auto failed = co_await job.ReadAll("no point was sent");
    if (failed)
        co_return *failed;
    job.bar.Done();
    SessionRunner& runner = *job.runner;
    Record record;
    record.settings = plan.settings;
    try {
        record.plan = check::PlanPoints(plan.settings, job.Params());
    } catch (const UsageError& e) {
        co_return Failure(kUsage, std::string("refused: ") + e.what() + " (nothing was sent)");
    }
    record.calibrator = {runner.Opened().number, runner.Opened().serial, runner.Opened().path,
                         runner.Lcx().Master().HoldingRegisters};
    record.tool = std::string("lcx3 ") + VADERO_VERSION;
    record.start = std::chrono::system_clock::now();
    const bool source = plan.settings.mode == Mode::Source;
    std::optional<LineInput> input;
    if (!plan.readings) {
        input.emplace(runner.Loop(), *job.stop);
        std::fprintf(stderr,
                     "lcx3: at each point type the reading; Enter takes the nominal one, "
                     "q stops the check\n");
    }
    std::optional<Outcome> trouble;
    while (const PlannedPoint* next = record.Next()) {
        if (job.stop->Requested())
            break;
        PointStep step = co_await TakePoint(job, record, *next, input ? &*input : nullptr);
        if (step.failure) {
            trouble = std::move(step.failure);
            break;
        }
        if (!step.result)
            break;
        step.result->time = IsoLocalTime(std::chrono::system_clock::now());
        record.points.push_back(*step.result);
        if (!job.options.json)
            std::cout << PointLine(record, *step.result) << std::flush;
    }
    input.reset();
    record.complete = record.Next() == nullptr;
    // Whatever ended the check, the loop is left at its lower range value.
    if (source) {
        const bool lowered =
            co_await runner.SetOutput(TValueUnit::uPhysical, float(record.plan.loop.lower));
        if (lowered)
            std::fprintf(stderr, "lcx3: the output is left at %s %s, the lower range value\n",
                         Three(record.plan.loop.lower).c_str(), record.plan.loop.unit.c_str());
        else if (!trouble)
            trouble = job.Unfinished("the output was not set to the lower range value");
    }
    record.end = std::chrono::system_clock::now();
    co_return Filed(job, record, trouble);
}

}  // namespace vadero::cli
