// The commands of one value: the output to generate, the measurement.
#include <algorithm>
#include <cmath>
#include <sstream>

#include <iostream>
#include "calibrator/Numbers.h"
#include "cli/Job.h"
#include "cli/Watch.h"

namespace vadero::cli {

namespace {

// What the calibrator generates: 0 to 110 % of the range's full scale.
constexpr double kMostShare = 1.1;
// Parsed decimals and the user scale's floats meet the limit within this.
constexpr double kShareSlack = 1e-9;

const char* PhysicalUnit(int range) {
    return range == rgGenerate010V || range == rgMeasureVoltage ? "V"
           : range == rgMeasureResistance                       ? "kOhm"
                                                                : "mA";
}

// The share of the full scale a value asks for, computed as the conversion
// does but not limited; not a number for a user scale without a span.
double Share(TValueUnit unit, int range, double v, const UserScale& s) {
    switch (unit) {
        case TValueUnit::uPhysical:
            return range == rgGenerate010V ? v / 10 : v / 20;
        case TValueUnit::uPercent:
            return range == rgGenerate420mA ? (v + 25) / 125 : v / 100;
        case TValueUnit::uUser: {
            if (s.fullScale == s.zero)
                return NAN;
            const double f = (v - s.zero) / (double(s.fullScale) - s.zero);
            return range == rgGenerate420mA ? f / 1.25 + 0.2 : f;
        }
    }
    return NAN;
}

// The inverse of Share: the value of a share in the unit.
double ValueOfShare(TValueUnit unit, int range, double f, const UserScale& s) {
    switch (unit) {
        case TValueUnit::uPhysical:
            return range == rgGenerate010V ? f * 10 : f * 20;
        case TValueUnit::uPercent:
            return range == rgGenerate420mA ? f * 125 - 25 : f * 100;
        case TValueUnit::uUser: {
            const double x = range == rgGenerate420mA ? (f - 0.2) * 1.25 : f;
            return s.zero + (double(s.fullScale) - s.zero) * x;
        }
    }
    return NAN;
}

std::string Plain(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

}  // namespace

std::string ShownOutput(const TLCXParams& p, TValueUnit unit, double value) {
    const std::string picture = unit == TValueUnit::uPhysical  ? DecimalsFormat(p.OutputDecimals())
                                : unit == TValueUnit::uPercent ? std::string("#0.00")
                                                               : FormatOfCode(p.UserFormat());
    std::string text = FormatPicture(value, picture);
    text.erase(0, std::min(text.find_first_not_of(' '), text.size()));
    return text;
}

namespace {}  // namespace

std::optional<Outcome> Refusal(const TLCXParams& p, const OutputRequest& r) {
    const int range = p.Range();
    const auto refused = [](const std::string& why) {
        return Failure(kUsage, "refused: " + why + " (nothing was written)");
    };
    if (!IsGenerating(range))
        return refused("the calibrator is in the range \"" + RangeLabel(range) +
                       "\", which generates nothing; set a generating range first");
    if ((r.unitText == "mA" && range == rgGenerate010V) ||
        (r.unitText == "V" && range != rgGenerate010V))
        return refused("the range \"" + RangeLabel(range) + "\" does not generate " + r.unitText);
    const UserScale scale{p.UserZero(), p.UserFullScale()};
    const double share = Share(r.unit, range, r.value, scale);
    if (std::isnan(share))
        return refused("the user scale's zero and full scale are equal (" + Plain(scale.zero) +
                       "), so a user value means nothing");
    if (share < -kShareSlack || share > kMostShare + kShareSlack) {
        const double a = ValueOfShare(r.unit, range, 0, scale);
        const double b = ValueOfShare(r.unit, range, kMostShare, scale);
        const std::string unit = r.unit == TValueUnit::uUser ? "user units" : r.unitText;
        return refused(Plain(r.value) + " " + unit + " is outside " + Plain(std::min(a, b)) +
                       " to " + Plain(std::max(a, b)) + " " + unit +
                       ", the 0 to 110 % this range generates");
    }
    return std::nullopt;
}

namespace {

// One line per measurement as it comes, until the count or a stop.
Task<Outcome> WatchMeasurements(Job& job) {
    const Options& o = job.options;
    SessionRunner& runner = *job.runner;
    const TLCXParams& p = job.Params();
    const LineLayout layout{o.csv    ? LineFormat::Csv
                            : o.json ? LineFormat::Json
                                     : LineFormat::Text,
                            job.bench ? runner.Opened().serial : "", PhysicalUnit(p.Range()),
                            OutputDecimalCount(p)};
    const auto wallStart = std::chrono::system_clock::now();
    const auto loopStart = runner.Loop().Now();
    const Measure measure = [&runner]() -> Task<Measurement> {
        Measurement m;
        m.answered = co_await runner.ReadMeasure();
        m.gone = !m.answered && runner.Gone();
        m.raw = runner.Lcx().MeasureRaw();
        m.state = runner.Lcx().GetMeasure(m.value);
        co_return m;
    };
    const WatchLine line = [&](EventLoop::Clock::time_point at, const Measurement& m) {
        const auto wall =
            wallStart +
            std::chrono::duration_cast<std::chrono::system_clock::duration>(at - loopStart);
        std::cout << FormatLine(layout, IsoLocalTime(wall), m) << std::flush;
    };
    const WatchSettings settings{std::chrono::milliseconds(std::llround(o.interval * 1000)),
                                 o.count};
    const int status = co_await Watch(runner.Loop(), measure, settings, line, *job.stop);
    if (status != kOk)
        co_return Failure(status, "the calibrator went away (unplugged?); the watch ends");
    Outcome out;
    out.streamed = true;
    out.summary = "watched";
    co_return out;
}

}  // namespace

Task<Outcome> OutputCommand(Job& job) {
    if (!job.plan.steps.empty())
        co_return co_await StepsCommand(job);
    auto failed = co_await job.ReadAll("nothing was commanded");
    if (failed)
        co_return *failed;
    job.bar.Done();
    const OutputRequest& r = *job.plan.output;
    if (auto refused = Refusal(job.Params(), r))
        co_return *refused;
    const bool sent = co_await job.runner->SetOutput(r.unit, float(r.value));
    if (!sent)
        co_return job.Unfinished("the output was not set");
    const TLCXParams& p = job.Params();
    TCustomLCX& lcx = job.runner->Lcx();
    const char* physical = PhysicalUnit(p.Range());
    const std::string asPhysical =
        ShownOutput(p, TValueUnit::uPhysical, lcx.GetOutput(TValueUnit::uPhysical)) + " " +
        physical;
    std::string commanded = asPhysical;
    if (r.unit != TValueUnit::uPhysical)
        commanded = ShownOutput(p, r.unit, lcx.GetOutput(r.unit)) +
                    (r.unit == TValueUnit::uPercent ? " %" : " user units") + " (" + asPhysical +
                    ")";
    Outcome out;
    out.summary = "output " + commanded + ", raw " + std::to_string(p.OutputValue()) + ", range " +
                  RangeName(p.Range());
    out.text = out.summary + "\n";
    out.doc = {{"calibrator", job.Identity()},
               {"raw", p.OutputValue()},
               {"value", std::nearbyint(double(lcx.GetOutput(TValueUnit::uPhysical)) * 1e4) / 1e4},
               {"unit", physical},
               {"range", {{"code", p.Range()}, {"name", RangeName(p.Range())}}},
               {"requested", {{"value", r.value}, {"unit", r.unitText}}}};
    co_return out;
}

Task<Outcome> MeasureCommand(Job& job) {
    auto failed = co_await job.ReadAll("nothing was measured");
    if (failed)
        co_return *failed;
    job.bar.Done();
    if (job.options.watch)
        co_return co_await WatchMeasurements(job);
    const bool measured = co_await job.runner->ReadMeasure();
    if (!measured)
        co_return job.Unfinished("the measurement was not read");
    const TLCXParams& p = job.Params();
    float value = 0;
    const int state = job.runner->Lcx().GetMeasure(value);
    const char* unit = PhysicalUnit(p.Range());
    Outcome out;
    out.doc = {{"calibrator", job.Identity()},
               {"raw", job.runner->Lcx().MeasureRaw()},
               {"value", std::nearbyint(double(value) * 1e4) / 1e4},
               {"unit", unit},
               {"status", state == 1   ? "above"
                          : state == 2 ? "below"
                                       : "ok"}};
    out.summary = state == 1   ? "Dep+"
                  : state == 2 ? "Dep-"
                               : ShownOutput(p, TValueUnit::uPhysical, value) + " " + unit;
    out.text = out.summary + "\n";
    co_return out;
}

}  // namespace vadero::cli
