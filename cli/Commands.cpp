#include "cli/Commands.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <set>

#include "calibrator/Backup.h"
#include "cli/CheckCommand.h"
#include "cli/CommandTable.h"
#include "cli/DeviceSurvey.h"
#include "cli/Job.h"
#include "cli/LineInput.h"
#include "cli/Serve.h"
#include "cli/Steps.h"
#include "cli/Stop.h"
#include "cli/Watch.h"

namespace vadero::cli {

namespace {

using Clock = std::chrono::steady_clock;

Plan NoCheck(const Options&) {
    return {};
}

// With -d all, backup writes one file per calibrator into a folder.
Plan CheckBackupTarget(const Options& o) {
    if (o.allDevices && !std::filesystem::is_directory(o.arguments[0]))
        throw UsageError("backup with -d all writes one file per calibrator into a folder; " +
                         o.arguments[0] + " is no folder");
    return {};
}

Plan CheckSettings(const Options& o) {
    Plan plan;
    plan.settings = Settings::Parse(o.arguments);
    return plan;
}

Plan CheckBackup(const Options& o) {
    Plan plan;
    RegisterImage image{};
    TLCXParams view{image};
    const nlohmann::json document = ReadBackupFile(o.arguments[0]);
    try {
        plan.warnings = HoldingFromJson(document, view);
    } catch (const UsageError& e) {
        throw UsageError(o.arguments[0] + ": " + e.what() + " (nothing was sent)");
    }
    plan.restored = image;
    return plan;
}

// The points of a loop check, in the order they are commanded.
std::vector<double> StepList(const Options& o) {
    constexpr std::size_t kMostPoints = 1000;
    std::vector<double> points;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = o.steps.find(',', from);
        const std::string text = o.steps.substr(from, comma - from);
        points.push_back(ParseNumber("output --steps: \"" + text + "\"", text, -1e30, 1e30, false));
        if (comma == std::string::npos)
            break;
        from = comma + 1;
    }
    if (points.size() > kMostPoints)
        throw UsageError("output --steps: at most " + std::to_string(kMostPoints) + " points");
    if (o.upDown)
        points.insert(points.end(), points.rbegin() + 1, points.rend());
    return points;
}

Plan CheckOutput(const Options& o) {
    Plan plan;
    OutputRequest r;
    if (!o.steps.empty()) {
        plan.steps = StepList(o);
        if (!o.end.empty())
            plan.end = ParseNumber("output --end: \"" + o.end + "\"", o.end, -1e30, 1e30, false);
    } else {
        r.value =
            ParseNumber("output: \"" + o.arguments[0] + "\"", o.arguments[0], -1e30, 1e30, false);
    }
    r.unitText = o.arguments.back();
    if (r.unitText == "mA" || r.unitText == "V")
        r.unit = TValueUnit::uPhysical;
    else if (r.unitText == "%")
        r.unit = TValueUnit::uPercent;
    else if (r.unitText == "user")
        r.unit = TValueUnit::uUser;
    else
        throw UsageError("output: the unit must be mA, V, % or user, not \"" + r.unitText + "\"");
    plan.output = r;
    return plan;
}

Task<Outcome> ListCommand(Job& job) {
    const Survey survey = SurveyDevices(job.backend.Hid());
    Outcome out;
    out.doc["devices"] = nlohmann::json::array();
    for (const auto& d : survey.matching)
        out.doc["devices"].push_back({{"number", d.number},
                                      {"manufacturer", d.manufacturer},
                                      {"product", d.product},
                                      {"serial", d.serial},
                                      {"path", d.path}});
    out.doc["unopenable"] = nlohmann::json::array();
    for (const auto& b : survey.blocked)
        out.doc["unopenable"].push_back({{"path", b.path}, {"reason", b.reason}});

    std::vector<std::array<std::string, 5>> rows = {
        {"N", "serial", "product", "manufacturer", "path"}};
    for (const auto& d : survey.matching)
        rows.push_back(
            {std::to_string(d.number), d.serial, "\"" + d.product + "\"", d.manufacturer, d.path});
    std::array<std::size_t, 5> width{};
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], row[c].size());
    if (!survey.matching.empty())
        for (const auto& row : rows) {
            std::string line;
            for (std::size_t c = 0; c < row.size(); ++c)
                line += c + 1 == row.size()
                            ? row[c]
                            : row[c] + std::string(width[c] + 2 - row[c].size(), ' ');
            out.text += line + "\n";
        }
    for (const auto& b : survey.blocked)
        out.text += "cannot open " + b.path + ": " + b.reason + "\n";
    if (!survey.matching.empty())
        co_return out;
    if (survey.blocked.empty()) {
        out.status = kNoDevice;
        out.error = "no calibrator found";
    } else {
        out.status = kCannotOpen;
        out.error = "a calibrator was found but cannot be opened";
        for (const auto& b : survey.blocked) out.details.push_back(b.path + ": " + b.reason);
    }
    co_return out;
}

const std::vector<Command> kCommands = {
    {"list", "the matching calibrators and those that cannot be opened",
     "lcx3 list                      # number, serial, product and path of each calibrator",
     Operand::None, false, false, "", NoCheck, ListCommand},
    {"read", "read every parameter and print it decoded",
     "lcx3 read                      # every parameter, one per line", Operand::None, false, true,
     "read", NoCheck, ReadCommand},
    {"backup", "read every parameter into FILE (with -d all: one file each into the folder FILE)",
     "lcx3 backup lcx3.json          # every parameter into a file", Operand::File, false, true,
     "backed up", CheckBackupTarget, BackupCommand},
    {"restore", "write the parameters of FILE, then read them back and compare",
     "lcx3 restore lcx3.json         # write them back, then verify", Operand::File, true, true,
     "written and verified", CheckBackup, RestoreCommand},
    {"set", "change parameters, write them, read them back and compare",
     "lcx3 set range=1 filter=4      # 4-20 mA, filter of 15 s", Operand::Settings, true, true,
     "written and verified", CheckSettings, SetCommand},
    {"output", "command the output value (UNIT: mA, V, % or user)",
     "lcx3 output 12 mA              # generate 12 mA", Operand::ValueUnit, false, true,
     "commanded", CheckOutput, OutputCommand},
    {"measure", "read the measurement, or watch it (--watch)",
     "lcx3 measure --watch --csv     # a line per tick until Ctrl-C", Operand::None, false, true,
     "measured", NoCheck, MeasureCommand},
    {"check", "a loop check of an instrument, point by point, recorded in JSON, CSV and PDF",
     "lcx3 check --tag TT-101 --instrument '0..150 degC' --up-down   # a recorded loop check",
     Operand::None, false, true, "checked", CheckLoopCheck, CheckCommand},
    {"serve", "a Modbus TCP server in front of the calibrator, until Ctrl-C",
     "lcx3 serve --read-only         # Modbus TCP on 127.0.0.1:1502, reads only", Operand::None,
     false, true, "served", CheckServe, nullptr, ServeCommand},
};

// Why no calibrator of that number can be served.
Outcome NotThere(Job& job, int number, int count) {
    const Survey survey = SurveyDevices(job.backend.Hid());
    if (!survey.blocked.empty()) {
        Outcome out = Failure(kCannotOpen, "a calibrator was found but cannot be opened");
        for (const auto& b : survey.blocked) out.details.push_back(b.path + ": " + b.reason);
        return out;
    }
    return Failure(kNoDevice, count == 0 ? "no matching calibrator"
                                         : "no calibrator number " + std::to_string(number) + " (" +
                                               std::to_string(count) + " found)");
}

// A file name from a serial number: letters, digits, '.', '-' and '_' only.
std::string SafeName(const std::string& serial) {
    std::string name;
    for (const char c : serial)
        name += std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_'
                    ? c
                    : '_';
    return name;
}

// Everything one calibrator's run needs, alive until every run has ended.
struct Seat {
    Seat(int number_, Job job_, HidLayer& hid, EventLoop& loop, Pace pace, RunnerHooks hooks)
        : number(number_), job(std::move(job_)), runner(hid, loop, pace, std::move(hooks)) {}
    const int number;  // of lcx3 list
    Job job;
    SessionRunner runner;
    std::optional<Task<Outcome>> task;
    Outcome outcome;
};

Task<Outcome> Serve(const Command& command, Seat& seat, int number,
                    std::set<std::string>& namesTaken) {
    Job& job = seat.job;
    const bool opened = co_await seat.runner.Open(number);
    if (!opened) {
        // Listed a moment ago: unplugged since, or there but refusing to open.
        if (seat.runner.DeviceCount() < number)
            co_return Failure(kNoDevice, "calibrator number " + std::to_string(number) +
                                             " went away before it could be opened (unplugged?)");
        co_return Failure(kCannotOpen,
                          "calibrator number " + std::to_string(number) + " cannot be opened");
    }
    job.runner = &seat.runner;
    if (job.bench && command.name == "backup") {
        const std::string serial = seat.runner.Opened().serial;
        std::string name =
            serial.empty() || serial == "unknown" ? std::to_string(number) : SafeName(serial);
        if (!namesTaken.insert(name).second)  // two calibrators with one serial
            name += "-" + std::to_string(number);
        job.file =
            (std::filesystem::path(job.options.arguments[0]) / ("lcx3-" + name + ".json")).string();
    }
    co_return co_await command.run(job);
}

// Characters, not bytes: the calibrator's range names hold accents.
std::size_t Width(const std::string& text) {
    return std::size_t(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string Padded(const std::string& text, std::size_t width) {
    return text + std::string(width > Width(text) ? width - Width(text) : 0, ' ');
}

// Every calibrator's document, failures with their error and status.
nlohmann::json BenchJson(const std::vector<std::unique_ptr<Seat>>& seats) {
    nlohmann::json all = nlohmann::json::array();
    for (const auto& seat : seats) {
        nlohmann::json doc = seat->outcome.doc;
        if (seat->outcome.status != kOk) {
            doc["error"] = seat->outcome.error;
            doc["status"] = seat->outcome.status;
        }
        doc["number"] = seat->number;
        all.push_back(doc);
    }
    return all;
}

// The parameters side by side, one column per calibrator read.
std::string ReadTable(const std::vector<std::unique_ptr<Seat>>& seats) {
    std::vector<const Seat*> read;
    for (auto& seat : seats)
        if (seat->outcome.status == kOk)
            read.push_back(seat.get());
    std::size_t keyWidth = std::string("parameter").size();
    for (const auto& [key, shown] : read.front()->outcome.rows)
        keyWidth = std::max(keyWidth, key.size());
    std::vector<std::size_t> widths;
    for (const Seat* seat : read) {
        std::size_t w = Width(seat->runner.Opened().serial);
        for (const auto& [key, shown] : seat->outcome.rows) w = std::max(w, Width(shown));
        widths.push_back(w);
    }
    const auto row = [&](const std::string& first, auto cell) {
        std::string line = Padded(first, keyWidth + 2);
        for (std::size_t k = 0; k < read.size(); ++k)
            line += k + 1 == read.size() ? cell(k) : Padded(cell(k), widths[k] + 2);
        return line + "\n";
    };
    std::string table =
        row("parameter", [&](std::size_t k) { return read[k]->runner.Opened().serial; });
    for (std::size_t r = 0; r < read.front()->outcome.rows.size(); ++r)
        table += row(read.front()->outcome.rows[r].first,
                     [&](std::size_t k) { return read[k]->outcome.rows[r].second; });
    return table;
}

// One line per calibrator, then a summary; read shows one column each.
void ReportBench(const Command& command, std::vector<std::unique_ptr<Seat>>& seats, bool json) {
    std::cout.flush();
    if (json)
        std::cout << BenchJson(seats).dump(2) << "\n";
    int succeeded = 0;
    std::string lines;
    // Read shows its table and a watch its lines: only failures need a line.
    const bool quietWhenDone = command.name == "read" || seats.front()->outcome.streamed;
    for (auto& seat : seats) {
        const Outcome& out = seat->outcome;
        const std::string& serial = seat->runner.Opened().serial;
        const int number = seat->number;
        const std::string who = std::to_string(number) + "  " + (serial.empty() ? "-" : serial);
        for (const std::string& w : out.warnings)
            std::fprintf(stderr, "lcx3: calibrator %d: warning: %s\n", number, w.c_str());
        if (out.status == kOk) {
            ++succeeded;
            if (!quietWhenDone)
                lines += who + "  " + out.summary + "\n";
            continue;
        }
        std::fprintf(stderr, "lcx3: calibrator %d: %s\n", number, out.error.c_str());
        for (const std::string& d : out.details) std::fprintf(stderr, "  %s\n", d.c_str());
        lines += who + "  failed (status " + std::to_string(out.status) + "): " + out.error + "\n";
    }
    if (json)
        return;
    if (command.name == "read" && succeeded > 0)
        std::cout << ReadTable(seats);
    std::cout << lines;
    std::cout << succeeded << " of " << seats.size() << " calibrators " << command.done << "\n";
    std::cout.flush();
}

// The trace of each frame on stderr, with the calibrator's number on a bench;
// the progress bar for one calibrator only.
RunnerHooks HooksFor(const Options& o, Clock::time_point start, int number, ProgressBar& bar) {
    RunnerHooks hooks;
    if (o.trace)
        hooks.trace = [start, who = o.allDevices ? "#" + std::to_string(number) + " "
                                                 : ""](const std::string& text) {
            const auto ms =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
            std::fprintf(stderr, "%lld %s%s\n", static_cast<long long>(ms.count()), who.c_str(),
                         text.c_str());
        };
    if (!o.allDevices)
        hooks.progress = [&bar](int percent) { bar.Update(percent); };
    return hooks;
}

// A loop check steps on the dwell, or on Enter: without a dwell, and on a
// terminal with a dwell of 0.
bool StepsOnEnter(const Options& o, const Plan& plan) {
    return !plan.steps.empty() && (!o.dwell || (*o.dwell == 0 && ::isatty(STDIN_FILENO) == 1));
}

// Each calibrator's outcome from its task; the most severe status of all.
int CollectOutcomes(std::vector<std::unique_ptr<Seat>>& seats) {
    int status = kOk;
    for (auto& seat : seats) {
        try {
            seat->outcome = seat->task->Result();
        } catch (const UsageError& e) {
            seat->outcome = Failure(kUsage, e.what());
        }
        status = MoreSevere(status, seat->outcome.status);
    }
    return status;
}

// The command on one calibrator, or on every one at once (-d all), each with
// its own device component and reader thread, all on one event loop.
int RunOnCalibrators(const Command& command, const Options& o, const Plan& plan, Backend& backend,
                     ProgressBar& bar) {
    EventLoop loop;
    Stop stop;
    std::optional<StopSignals> signals;
    if (o.watch || !plan.steps.empty() || plan.loopCheck)
        signals.emplace(loop, stop);  // before any reader thread starts
    const auto start = Clock::now();
    ProgressBar silent(false);
    const auto seatFor = [&](int number) {
        Job job{o, plan, backend, o.allDevices ? silent : bar};
        job.bench = o.allDevices;
        job.stop = &stop;
        if (!o.arguments.empty())
            job.file = o.arguments[0];
        return std::make_unique<Seat>(number, std::move(job), backend.Hid(), loop, o.pace,
                                      HooksFor(o, start, number, bar));
    };
    std::vector<std::unique_ptr<Seat>> seats;
    seats.push_back(seatFor(o.allDevices ? 1 : o.device));
    const int count = seats.front()->runner.DeviceCount();
    const int wanted = o.allDevices ? 1 : o.device;
    if (wanted > count || count == 0)
        return Report(NotThere(seats.front()->job, wanted, count), o.json);
    for (int number = 2; o.allDevices && number <= count; ++number)
        seats.push_back(seatFor(number));
    if (o.watch && o.csv)
        std::cout << CsvHeader(o.allDevices) << std::flush;
    std::optional<LineInput> enter;
    if (StepsOnEnter(o, plan))
        enter.emplace(loop, stop);
    std::optional<std::chrono::milliseconds> dwell;
    if (o.dwell && !enter)
        dwell = std::chrono::milliseconds(std::llround(*o.dwell * 1000));
    StepPacer pacer(loop, stop, dwell, enter ? &*enter : nullptr, int(seats.size()));
    if (!plan.steps.empty() && o.csv)
        std::cout << StepsCsvHeader(o.allDevices) << std::flush;
    for (auto& seat : seats) seat->job.pacer = &pacer;
    std::set<std::string> namesTaken;
    for (auto& seat : seats) {
        seat->task.emplace(Serve(command, *seat, seat->number, namesTaken));
        seat->task->Start();
    }
    loop.RunUntil(
        [&seats] {
            return std::all_of(seats.begin(), seats.end(),
                               [](const auto& seat) { return seat->task->Done(); });
        },
        std::chrono::hours(24 * 365));
    const int status = CollectOutcomes(seats);
    bar.Done();
    if (!o.allDevices)
        return Report(seats.front()->outcome, o.json);
    ReportBench(command, seats, o.json);
    return status;
}

}  // namespace

const std::vector<Command>& Commands() {
    return kCommands;
}

const Command* FindCommand(const std::string& name) {
    for (const Command& c : kCommands)
        if (c.name == name)
            return &c;
    return nullptr;
}

int RunCommand(const Options& o, std::unique_ptr<HidLayer> hid) {
    const Command* command = FindCommand(o.command);
    if (command == nullptr)
        return Report(Failure(kUsage, "unknown command \"" + o.command + "\""), o.json);
    Plan plan;
    std::unique_ptr<Backend> backend;
    try {
        // Every argument and file is checked before any device is looked at.
        plan = command->check(o);
        backend = hid ? std::make_unique<Backend>(std::move(hid)) : std::make_unique<Backend>(o);
    } catch (const UsageError& e) {
        return Report(Failure(kUsage, e.what()), o.json);
    }
    ProgressBar bar(::isatty(STDERR_FILENO) == 1 && !o.trace);
    int status = kOk;
    if (command->runAlone) {
        status = command->runAlone(o, *backend);
    } else if (!command->opensDevice || !plan.opensDevice) {
        Job job{o, plan, *backend, bar};
        Task<Outcome> task = command->run(job);
        task.Start();  // list never waits
        status = Report(task.Result(), o.json);
    } else {
        status = RunOnCalibrators(*command, o, plan, *backend, bar);
    }
    if (!backend->SaveState() && status == kOk)
        status = Report(Failure(kUsage, "the emulator's state was not saved"), o.json);
    return status;
}

int RunCommand(const Options& o) {
    return RunCommand(o, nullptr);
}

}  // namespace vadero::cli
