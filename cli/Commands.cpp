#include "cli/Commands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/Backend.h"
#include "cli/DeviceSurvey.h"
#include "cli/ExitCodes.h"
#include "cli/Parameters.h"
#include "cli/Progress.h"
#include "transport/hidraw/UniqueFd.h"

namespace vadero::cli {

namespace {

using Clock = std::chrono::steady_clock;

void Fail(const std::string& message) {
    std::fprintf(stderr, "lcx3: %s\n", message.c_str());
}

int TimedOut(const std::string& notDone) {
    std::fprintf(stderr, "Allumer le calibrateur\nlcx3: no answer from the calibrator; %s\n",
                 notDone.c_str());
    return kTimeOut;
}

const char* MeasureUnit(int range) {
    switch (range) {
        case 2:
        case 4:
            return "V";
        case 5:
            return "kOhm";
        default:
            return "mA";
    }
}

std::string Number(double value, int decimals) {
    std::ostringstream out;
    out.setf(std::ios::fixed);
    out.precision(decimals);
    out << value;
    return out.str();
}

// A backup is a few kilobytes; this bounds what a wrong file can take.
constexpr off_t kBackupLimit = 1 << 20;

// The text of a backup file. Opened without blocking and refused unless it is
// a regular file: reading a FIFO would wait for a writer for ever.
std::string ReadBackupText(const std::string& path) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd)
        throw UsageError("cannot read " + path + ": " + std::strerror(errno));
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        throw UsageError("cannot read " + path + ": " + std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        throw UsageError(path + " is a directory, not a backup file");
    if (!S_ISREG(info.st_mode))
        throw UsageError(path + " is not a regular file");
    if (info.st_size > kBackupLimit)
        throw UsageError(path + " is too large for a backup (" + std::to_string(info.st_size) +
                         " bytes)");
    std::string text;
    std::array<char, 4096> chunk{};
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw UsageError("cannot read " + path + ": " + std::strerror(errno));
        if (n == 0)
            break;
        text.append(chunk.data(), std::size_t(n));
        if (off_t(text.size()) > kBackupLimit)  // grew while being read
            throw UsageError(path + " is too large for a backup");
    }
    if (text.empty())
        throw UsageError(path + " is empty, not a backup");
    return text;
}

nlohmann::json ReadBackupFile(const std::string& path) {
    try {
        return ParseBackupText(ReadBackupText(path));
    } catch (const UsageError& e) {
        throw UsageError(std::string(e.what()) + " (nothing was sent)");
    }
}

// A sibling first, then a rename: a failed write leaves the old file.
bool WriteFileText(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << text;
        if (!(out.flush()))
            return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    return !error;
}

struct OutputRequest {
    TValueUnit unit = TValueUnit::uPhysical;
    std::string unitText;
    float value = 0;
};

OutputRequest ParseOutput(const std::vector<std::string>& args) {
    OutputRequest r;
    char* end = nullptr;
    const double v = std::strtod(args[0].c_str(), &end);
    if (args[0].empty() || *end != '\0' || !std::isfinite(v))
        throw UsageError("output: \"" + args[0] + "\" is not a number");
    r.value = float(v);
    r.unitText = args[1];
    if (r.unitText == "mA" || r.unitText == "V")
        r.unit = TValueUnit::uPhysical;
    else if (r.unitText == "%")
        r.unit = TValueUnit::uPercent;
    else if (r.unitText == "user")
        r.unit = TValueUnit::uUser;
    else
        throw UsageError("output: the unit must be mA, V, % or user");
    return r;
}

// What the calibrator can generate (0 to 110 % of the range); the conversion
// would limit anything else silently. No limits for user values.
std::optional<std::pair<float, float>> OutputLimits(TValueUnit unit, int range) {
    if (unit == TValueUnit::uPhysical)
        return std::pair{0.0f, range == rgGenerate010V ? 11.0f : 22.0f};
    if (unit == TValueUnit::uPercent)
        return range == rgGenerate420mA ? std::pair{-25.0f, 112.5f} : std::pair{0.0f, 110.0f};
    return std::nullopt;
}

// What the arguments ask for, checked before anything goes to the calibrator.
struct Plan {
    std::optional<Settings> settings;
    std::optional<RegisterImage> restored;
    std::optional<OutputRequest> output;
};

Plan CheckArguments(const Options& o) {
    Plan plan;
    if (o.command == "set")
        plan.settings = Settings::Parse(o.arguments);
    if (o.command == "restore") {
        RegisterImage image{};
        TLCXParams view{image};
        const nlohmann::json document = ReadBackupFile(o.arguments[0]);
        try {
            HoldingFromJson(document, view);
        } catch (const UsageError& e) {
            throw UsageError(o.arguments[0] + ": " + e.what() + " (nothing was sent)");
        }
        plan.restored = image;
    }
    if (o.command == "output")
        plan.output = ParseOutput(o.arguments);
    return plan;
}

int List(const Options& o, Backend& backend) {
    const Survey survey = SurveyDevices(backend.Hid(), backend.Hidraw());
    if (o.json) {
        nlohmann::json doc;
        doc["devices"] = nlohmann::json::array();
        for (const auto& d : survey.matching)
            doc["devices"].push_back({{"number", d.number},
                                      {"manufacturer", d.manufacturer},
                                      {"product", d.product},
                                      {"serial", d.serial},
                                      {"path", d.path}});
        doc["unopenable"] = nlohmann::json::array();
        for (const auto& b : survey.blocked)
            doc["unopenable"].push_back({{"path", b.path}, {"reason", b.reason}});
        std::cout << doc.dump(2) << "\n";
    } else {
        for (const auto& d : survey.matching)
            std::cout << d.number << "  " << d.manufacturer << "  \"" << d.product << "\"  "
                      << d.serial << "  " << d.path << "\n";
        for (const auto& b : survey.blocked)
            std::cout << "cannot open " << b.path << ": " << b.reason << "\n";
        if (survey.matching.empty() && survey.blocked.empty())
            std::cerr << "lcx3: no calibrator found\n";
    }
    if (!survey.matching.empty())
        return kOk;
    return survey.blocked.empty() ? kNoDevice : kCannotOpen;
}

// Read back after a write-all and compare what was written.
int Verify(SessionRunner& runner, const RegisterImage& written, const std::string& what) {
    if (!runner.ReadAll())
        return TimedOut(what + " written but not verified (read-back failed)");
    const TLCXParams& now = runner.Lcx().Params();
    std::vector<std::string> differences;
    for (int k = 0; k < TLCXParams::kCount; ++k)
        if (IsWritten(k) && now.Word(k) != written[k])
            differences.push_back("register " + std::to_string(k) + ": wrote " +
                                  std::to_string(written[k]) + ", read " +
                                  std::to_string(now.Word(k)));
    if (differences.empty())
        return kOk;
    std::fprintf(stderr, "lcx3: verification found %zu difference(s):\n", differences.size());
    for (const auto& d : differences) std::fprintf(stderr, "  %s\n", d.c_str());
    return kMismatch;
}

int WriteAndVerify(const Options& o, SessionRunner& runner, const std::string& what) {
    if (!runner.WriteAll())
        return TimedOut(what + " not written (the write-all did not end)");
    if (!o.verify)
        return kOk;
    return Verify(runner, runner.Lcx().Master().HoldingRegisters, what);
}

int Transfer(const Options& o, const Plan& plan, SessionRunner& runner) {
    TLCXParams& params = runner.Lcx().Params();
    if (o.command == "restore") {
        for (int k = 0; k < TLCXParams::kCount; ++k)
            if (IsTransferred(k))
                params.SetWord(k, (*plan.restored)[k]);
        return WriteAndVerify(o, runner, "the backup");
    }
    if (!runner.ReadAll())
        return TimedOut("the parameters were not read; nothing was changed");
    if (o.command == "read") {
        if (o.json)
            std::cout << ParamsToJson(params).dump(2) << "\n";
        else
            std::cout << ParamsToText(params);
        return kOk;
    }
    if (o.command == "backup") {
        if (!WriteFileText(o.arguments[0], ParamsToJson(params).dump(2) + "\n")) {
            Fail("cannot write " + o.arguments[0]);
            return kUsage;
        }
        return kOk;
    }
    if (o.command == "set") {
        plan.settings->Apply(params);
        return WriteAndVerify(o, runner, "the settings");
    }
    if (o.command == "output") {
        const OutputRequest& r = *plan.output;
        const int range = params.Range();
        if (range >= rgMeasureCurrent) {
            Fail("refused: the calibrator is in the measuring range \"" + RangeLabel(range) +
                 "\"; set a generating range first (nothing was written)");
            return kUsage;
        }
        if ((r.unitText == "mA" && range == rgGenerate010V) ||
            (r.unitText == "V" && range != rgGenerate010V)) {
            Fail("refused: the range \"" + RangeLabel(range) + "\" does not generate " +
                 r.unitText + " (nothing was written)");
            return kUsage;
        }
        if (const auto limit = OutputLimits(r.unit, range);
            limit && (r.value < limit->first || r.value > limit->second)) {
            Fail("refused: " + Number(r.value, 3) + " " + r.unitText + " is outside " +
                 Number(limit->first, 1) + " to " + Number(limit->second, 1) +
                 " in this range (nothing was written)");
            return kUsage;
        }
        if (!runner.SetOutput(r.unit, r.value))
            return TimedOut("the output was not set");
        const int raw = params.OutputValue();
        if (o.json)
            std::cout << nlohmann::json{{"raw", raw}}.dump() << "\n";
        else
            std::cout << raw << "\n";
        return kOk;
    }
    // measure
    if (!runner.ReadMeasure())
        return TimedOut("the measurement was not read");
    float value = 0;
    const int status = runner.Lcx().GetMeasure(value);
    const char* unit = MeasureUnit(params.Range());
    if (o.json) {
        std::cout << nlohmann::json{{"raw", runner.Lcx().MeasureRaw()},
                                    {"value", std::nearbyint(double(value) * 1e4) / 1e4},
                                    {"unit", unit},
                                    {"status", status == 1   ? "above"
                                               : status == 2 ? "below"
                                                             : "ok"}}
                         .dump()
                  << "\n";
    } else if (status == 1) {
        std::cout << "Dep+\n";
    } else if (status == 2) {
        std::cout << "Dep-\n";
    } else {
        std::cout << Number(value, 3) << " " << unit << "\n";
    }
    return kOk;
}

int Session(const Options& o, const Plan& plan, Backend& backend) {
    const auto start = Clock::now();
    ProgressBar bar(::isatty(STDERR_FILENO) == 1 && !o.trace);
    RunnerHooks hooks;
    if (o.trace)
        hooks.trace = [start](const std::string& text) {
            const auto ms =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
            std::fprintf(stderr, "%lld %s\n", static_cast<long long>(ms.count()), text.c_str());
        };
    hooks.progress = [&bar](int percent) {
        bar.Update(percent);
        if (percent >= 100)
            bar.Done();
    };
    SessionRunner runner(backend.Hid(), o.pace, hooks);
    const int count = runner.DeviceCount();
    if (o.device > count) {
        const Survey survey = SurveyDevices(backend.Hid(), backend.Hidraw());
        if (!survey.blocked.empty()) {
            for (const auto& b : survey.blocked) Fail("cannot open " + b.path + ": " + b.reason);
            return kCannotOpen;
        }
        Fail(count == 0 ? "no matching calibrator"
                        : "no calibrator number " + std::to_string(o.device) + " (" +
                              std::to_string(count) + " found)");
        return kNoDevice;
    }
    if (!runner.Open(o.device)) {
        // Listed a moment ago: unplugged since, or there but refusing to open.
        if (runner.DeviceCount() < o.device) {
            Fail("calibrator number " + std::to_string(o.device) +
                 " went away before it could be opened (unplugged?)");
            return kNoDevice;
        }
        Fail("calibrator number " + std::to_string(o.device) + " cannot be opened");
        return kCannotOpen;
    }
    const int code = Transfer(o, plan, runner);
    bar.Done();
    return code;
}

}  // namespace

int RunCommand(const Options& o, std::unique_ptr<HidLayer> hid) {
    Plan plan;
    std::unique_ptr<Backend> backend;
    try {
        // Every argument and file is checked before any device is looked at.
        plan = CheckArguments(o);
        backend = hid ? std::make_unique<Backend>(std::move(hid)) : std::make_unique<Backend>(o);
    } catch (const UsageError& e) {
        Fail(e.what());
        return kUsage;
    }
    int code = kOk;
    try {
        code = o.command == "list" ? List(o, *backend) : Session(o, plan, *backend);
    } catch (const UsageError& e) {
        Fail(e.what());
        code = kUsage;
    }
    if (!backend->SaveState() && code == kOk)
        code = kUsage;
    return code;
}

int RunCommand(const Options& o) {
    return RunCommand(o, nullptr);
}

}  // namespace vadero::cli
