#include "cli/Steps.h"

#include <cstdio>
#include <iostream>

#include "cli/Job.h"
#include "cli/Watch.h"

namespace vadero::cli {

StepPacer::StepPacer(EventLoop& loop, Stop& stop, std::optional<std::chrono::milliseconds> dwell,
                     LineInput* input, int seats)
    : loop_(loop), stop_(stop), dwell_(dwell), input_(input), seats_(seats) {}

void StepPacer::arrive(std::coroutine_handle<> h, const std::string& prompt) {
    waiting_.push_back(h);
    prompt_ = prompt;
    startIfAllThere();
}

void StepPacer::Leave() {
    --seats_;
    startIfAllThere();
}

void StepPacer::startIfAllThere() {
    if (waiting_.empty() || int(waiting_.size()) < seats_)
        return;
    pacing_.emplace(pace(prompt_));
    pacing_->Start();
}

Task<bool> StepPacer::pace(std::string prompt) {
    bool goOn = !stop_.Requested();
    if (goOn && dwell_) {
        Waiter held(loop_);
        const Stop::Pause cutShort(stop_, held);
        co_await held.Until(*dwell_);
        goOn = !stop_.Requested();
    } else if (goOn && input_ != nullptr) {
        std::fprintf(stderr, "lcx3: %s\n", prompt.c_str());
        const std::optional<std::string> line = co_await input_->Next();
        goOn = line && *line != "q";
    }
    goOn_ = goOn;
    // Posted: the seats go on after this task has ended.
    for (const std::coroutine_handle<> h : std::exchange(waiting_, {}))
        loop_.post([h] { h.resume(); });
    co_return goOn;
}

namespace {

const char* UnitWord(const OutputRequest& r) {
    return r.unit == TValueUnit::uPercent ? "%"
           : r.unit == TValueUnit::uUser  ? "user"
                                          : r.unitText.c_str();
}

// A point's line: when it was confirmed, its number, the value read back in
// the unit asked for, and the raw count.
std::string PointLine(const Job& job, const std::string& time, std::size_t k, double value,
                      const std::string& shown, int raw) {
    const Options& o = job.options;
    const std::string of = std::to_string(job.plan.steps.size());
    const std::string serial = job.bench ? job.runner->Opened().serial : "";
    const char* unit = UnitWord(*job.plan.output);
    if (o.json) {
        nlohmann::json line{{"time", time},
                            {"point", k + 1},
                            {"of", job.plan.steps.size()},
                            {"value", std::nearbyint(value * 1e4) / 1e4},
                            {"unit", unit},
                            {"raw", raw}};
        if (job.bench)
            line["serial"] = serial;
        return line.dump() + "\n";
    }
    if (o.csv)
        return time + "," + (job.bench ? serial + "," : "") + std::to_string(k + 1) + "," + shown +
               "," + unit + "," + std::to_string(raw) + "\n";
    return time + "  " + (job.bench ? serial + "  " : "") + "point " + std::to_string(k + 1) +
           " of " + of + "  " + shown + " " + unit + "  raw " + std::to_string(raw) + "\n";
}

}  // namespace

std::string StepsCsvHeader(bool withSerial) {
    return withSerial ? "time,serial,point,value,unit,raw\n" : "time,point,value,unit,raw\n";
}

Task<Outcome> StepsCommand(Job& job) {
    auto failed = co_await job.ReadAll("nothing was commanded");
    if (failed) {
        job.pacer->Leave();
        co_return *failed;
    }
    job.bar.Done();
    SessionRunner& runner = *job.runner;
    TLCXParams& p = job.Params();
    const OutputRequest& unit = *job.plan.output;
    // Every point, and where the output is left, before anything is written.
    std::vector<double> checked = job.plan.steps;
    if (job.plan.end)
        checked.push_back(*job.plan.end);
    for (const double value : checked) {
        OutputRequest r = unit;
        r.value = value;
        if (auto refused = Refusal(p, r)) {
            job.pacer->Leave();
            co_return *refused;
        }
    }
    const auto wallStart = std::chrono::system_clock::now();
    const auto loopStart = runner.Loop().Now();
    std::string left;  // the value the output was last commanded to, as shown
    Outcome out;
    out.streamed = true;
    for (std::size_t k = 0; k < job.plan.steps.size(); ++k) {
        const bool sent = co_await runner.SetOutput(unit.unit, float(job.plan.steps[k]));
        const int raw = p.OutputValue();
        bool readBack = false;
        if (sent)
            readBack = co_await runner.ReadOutput();
        if (!readBack) {
            job.pacer->Leave();
            co_return job.Unfinished("point " + std::to_string(k + 1) + " was not confirmed");
        }
        if (p.OutputValue() != raw) {
            job.pacer->Leave();
            co_return Failure(kMismatch, "point " + std::to_string(k + 1) +
                                             ": the calibrator holds raw " +
                                             std::to_string(p.OutputValue()) + ", not the " +
                                             std::to_string(raw) + " commanded");
        }
        const double value = runner.Lcx().GetOutput(unit.unit);
        const std::string shown = ShownOutput(p, unit.unit, value);
        left = shown + " " + UnitWord(unit);
        const auto at = wallStart + std::chrono::duration_cast<std::chrono::system_clock::duration>(
                                        runner.Loop().Now() - loopStart);
        std::cout << PointLine(job, IsoLocalTime(at), k, value, shown, raw) << std::flush;
        const bool last = k + 1 == job.plan.steps.size();
        const std::string prompt = "point " + std::to_string(k + 1) + " of " +
                                   std::to_string(job.plan.steps.size()) + ": " + left +
                                   (last ? "; Enter to end" : "; Enter for the next, q to stop");
        const bool goOn = co_await job.pacer->Arrive(prompt);
        if (!goOn || last) {
            if (!last)
                out.summary = "stopped after point " + std::to_string(k + 1);
            break;
        }
    }
    job.pacer->Leave();
    if (job.plan.end) {
        const bool sent = co_await runner.SetOutput(unit.unit, float(*job.plan.end));
        if (!sent)
            co_return job.Unfinished("the output was not set to the --end value");
        left = ShownOutput(p, unit.unit, runner.Lcx().GetOutput(unit.unit)) + " " + UnitWord(unit);
    }
    std::fprintf(stderr, "lcx3: %s: the output is left at %s%s\n", job.Where().c_str(),
                 left.c_str(), job.plan.end ? " (--end)" : ", the last point commanded");
    if (out.summary.empty())
        out.summary = "all points commanded";
    co_return out;
}

}  // namespace vadero::cli
