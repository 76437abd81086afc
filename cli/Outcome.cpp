#include <cstdio>
#include <iostream>

#include "cli/Job.h"

namespace vadero::cli {

std::string Job::Where() const {
    const Calibrator& c = runner->Opened();
    return "calibrator " + std::to_string(c.number) +
           (c.serial.empty() ? std::string() : ", serial " + c.serial);
}

nlohmann::json Job::Identity() const {
    const Calibrator& c = runner->Opened();
    return {{"number", c.number}, {"serial", c.serial}, {"path", c.path}};
}

Task<std::optional<Outcome>> Job::ReadAll(std::string notDone) {
    bar.Begin("reading");
    const bool read = co_await runner->ReadAll();
    if (read)
        co_return std::nullopt;
    co_return Unfinished(notDone);
}

Outcome Job::Unfinished(const std::string& notDone) const {
    if (runner->Gone())
        return Failure(kNoDevice, "the calibrator went away (unplugged?); " + notDone);
    return TimedOut(notDone);
}

Outcome Failure(int status, std::string error) {
    Outcome out;
    out.status = status;
    out.error = std::move(error);
    return out;
}

Outcome TimedOut(const std::string& notDone) {
    return Failure(kTimeOut,
                   "no answer from the calibrator (\"Allumer le calibrateur\"); " + notDone);
}

int Report(const Outcome& out, bool json) {
    std::cout.flush();
    for (const std::string& w : out.warnings)
        std::fprintf(stderr, "lcx3: warning: %s\n", w.c_str());
    if (out.status != kOk) {
        std::fprintf(stderr, "lcx3: %s\n", out.error.c_str());
        for (const std::string& d : out.details) std::fprintf(stderr, "  %s\n", d.c_str());
    }
    if (out.streamed && out.status == kOk)
        return out.status;
    if (json) {
        nlohmann::json doc = out.doc;
        if (!out.warnings.empty())
            doc["warnings"] = out.warnings;
        if (out.status != kOk) {
            doc["error"] = out.error;
            doc["status"] = out.status;
        }
        std::cout << doc.dump(2) << "\n";
    } else if (out.status == kOk) {
        std::cout << out.text;
    }
    std::cout.flush();
    return out.status;
}

}  // namespace vadero::cli
