#include "cli/Commands.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "calibrator/Backup.h"
#include "cli/CommandTable.h"
#include "cli/DeviceSurvey.h"
#include "cli/Job.h"

namespace vadero::cli {

namespace {

using Clock = std::chrono::steady_clock;

Plan NoCheck(const Options&) {
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

Plan CheckOutput(const Options& o) {
    OutputRequest r;
    r.value = ParseNumber("output: \"" + o.arguments[0] + "\"", o.arguments[0], -1e30, 1e30, false);
    r.unitText = o.arguments[1];
    if (r.unitText == "mA" || r.unitText == "V")
        r.unit = TValueUnit::uPhysical;
    else if (r.unitText == "%")
        r.unit = TValueUnit::uPercent;
    else if (r.unitText == "user")
        r.unit = TValueUnit::uUser;
    else
        throw UsageError("output: the unit must be mA, V, % or user, not \"" + r.unitText + "\"");
    Plan plan;
    plan.output = r;
    return plan;
}

Outcome ListCommand(Job& job) {
    const Survey survey = SurveyDevices(job.backend.Hid(), job.backend.Hidraw());
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
        return out;
    if (survey.blocked.empty()) {
        out.status = kNoDevice;
        out.error = "no calibrator found";
    } else {
        out.status = kCannotOpen;
        out.error = "a calibrator was found but cannot be opened";
        for (const auto& b : survey.blocked) out.details.push_back(b.path + ": " + b.reason);
    }
    return out;
}

const std::vector<Command> kCommands = {
    {"list", "the matching calibrators and those that cannot be opened",
     "lcx3 list                      # number, serial, product and path of each calibrator",
     Operand::None, false, false, NoCheck, ListCommand},
    {"read", "read every parameter and print it decoded",
     "lcx3 read                      # every parameter, one per line", Operand::None, false, true,
     NoCheck, ReadCommand},
    {"backup", "read every parameter into FILE",
     "lcx3 backup lcx3.json          # every parameter into a file", Operand::File, false, true,
     NoCheck, BackupCommand},
    {"restore", "write the parameters of FILE, then read them back and compare",
     "lcx3 restore lcx3.json         # write them back, then verify", Operand::File, true, true,
     CheckBackup, RestoreCommand},
    {"set", "change parameters, write them, read them back and compare",
     "lcx3 set range=1 filter=4      # 4-20 mA, filter of 15 s", Operand::Settings, true, true,
     CheckSettings, SetCommand},
    {"output", "command the output value (UNIT: mA, V, % or user)",
     "lcx3 output 12 mA              # generate 12 mA", Operand::ValueUnit, false, true,
     CheckOutput, OutputCommand},
    {"measure", "read the measurement",
     "lcx3 measure                   # the measured value with its unit", Operand::None, false,
     true, NoCheck, MeasureCommand},
};

// Opens the calibrator the options name, or says why it cannot be.
std::optional<Outcome> OpenCalibrator(Job& job, SessionRunner& runner) {
    const int number = job.options.device;
    const int count = runner.DeviceCount();
    if (number > count) {
        const Survey survey = SurveyDevices(job.backend.Hid(), job.backend.Hidraw());
        if (!survey.blocked.empty()) {
            Outcome out = Failure(kCannotOpen, "a calibrator was found but cannot be opened");
            for (const auto& b : survey.blocked) out.details.push_back(b.path + ": " + b.reason);
            return out;
        }
        return Failure(kNoDevice, count == 0 ? "no matching calibrator"
                                             : "no calibrator number " + std::to_string(number) +
                                                   " (" + std::to_string(count) + " found)");
    }
    if (runner.Open(number))
        return std::nullopt;
    // Listed a moment ago: unplugged since, or there but refusing to open.
    if (runner.DeviceCount() < number)
        return Failure(kNoDevice, "calibrator number " + std::to_string(number) +
                                      " went away before it could be opened (unplugged?)");
    return Failure(kCannotOpen,
                   "calibrator number " + std::to_string(number) + " cannot be opened");
}

Outcome Run(const Command& command, Job& job) {
    if (!command.opensDevice)
        return command.run(job);
    const auto start = Clock::now();
    RunnerHooks hooks;
    if (job.options.trace)
        hooks.trace = [start](const std::string& text) {
            const auto ms =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
            std::fprintf(stderr, "%lld %s\n", static_cast<long long>(ms.count()), text.c_str());
        };
    hooks.progress = [&bar = job.bar](int percent) { bar.Update(percent); };
    SessionRunner runner(job.backend.Hid(), job.options.pace, hooks);
    if (auto refused = OpenCalibrator(job, runner))
        return *refused;
    job.runner = &runner;
    Outcome out = command.run(job);
    job.bar.Done();
    return out;
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
    ProgressBar bar(::isatty(STDERR_FILENO) == 1 && !o.trace && !o.json);
    Job job{o, plan, *backend, bar};
    Outcome out;
    try {
        out = Run(*command, job);
    } catch (const UsageError& e) {
        bar.Done();
        out = Failure(kUsage, e.what());
    }
    if (!backend->SaveState() && out.status == kOk)
        out = Failure(kUsage, "the emulator's state was not saved");
    return Report(out, o.json);
}

int RunCommand(const Options& o) {
    return RunCommand(o, nullptr);
}

}  // namespace vadero::cli
