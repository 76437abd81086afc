#include "check/Record.h"

#include <cctype>
#include <cmath>

#include "calibrator/Backup.h"
#include "calibrator/LCXParams.h"
#include "calibrator/LocalTime.h"
#include "calibrator/Numbers.h"
#include "calibrator/Parameters.h"
#include "transport/Identity.h"

namespace vadero::check {

namespace {

// Decimals of the values in the record's texts.
constexpr int kValueDecimals = 4;

double Rounded(double value, int decimals = kValueDecimals) {
    const double scale = std::pow(10.0, decimals);
    return std::nearbyint(value * scale) / scale;
}

const char* StateName(int state) {
    return state == 1 ? "above" : state == 2 ? "below" : "ok";
}

// The units of a point's reading and ideal value.
struct PointUnits {
    std::string reading;
    std::string ideal;
};

PointUnits UnitsOf(const Record& r) {
    const std::string& instrument = r.settings.instrument.unit;
    return {instrument, r.settings.mode == Mode::Source ? instrument : r.plan.loop.unit};
}

nlohmann::json PointToJson(const PointResult& p, const PointUnits& units, const Loop& loop) {
    return {{"number", p.planned.number},
            {"direction", DirectionName(p.planned.direction)},
            {"nominal_percent", Rounded(p.planned.percent)},
            {"time", p.time},
            {"calibrator",
             {{"value", Rounded(p.calibratorValue)},
              {"unit", loop.unit},
              {"raw", p.raw},
              {"state", StateName(p.state)}}},
            {"reading", {{"value", Rounded(p.reading)}, {"unit", units.reading}}},
            {"ideal", {{"value", Rounded(p.ideal)}, {"unit", units.ideal}}},
            {"error_percent_of_span", Rounded(p.error, kErrorDecimals)},
            {"pass", p.pass}};
}

// A CSV field, quoted when it holds a separator, a quote or a line break.
std::string Field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string Row(const std::vector<std::string>& fields) {
    std::string row;
    for (const std::string& f : fields) row += (row.empty() ? "" : ",") + Field(f);
    return row + "\n";
}

}  // namespace

const char* VerdictName(Verdict verdict) {
    return verdict == Verdict::Pass ? "pass" : verdict == Verdict::Fail ? "fail" : "incomplete";
}

const PlannedPoint* Record::Next() const {
    return points.size() < plan.points.size() ? &plan.points[points.size()] : nullptr;
}

Verdict Record::Result() const {
    for (const PointResult& p : points)
        if (!p.pass)
            return Verdict::Fail;
    return complete && points.size() == plan.points.size() ? Verdict::Pass : Verdict::Incomplete;
}

bool Record::English() const {
    return calibrator.holding[reg::kLanguage] == kLanguageEnglish;
}

std::string Fixed(double value, int decimals) {
    std::string text = FormatPicture(value, "#0." + std::string(std::size_t(decimals), '0'));
    return text.substr(std::min(text.find_first_not_of(' '), text.size()));
}

std::string SignedFixed(double value, int decimals) {
    const std::string text = Fixed(value, decimals);
    return text[0] == '-' ? text : "+" + text;
}

nlohmann::json RecordToJson(const Record& r) {
    const Settings& s = r.settings;
    RegisterImage image = r.calibrator.holding;
    const TLCXParams params(image);
    nlohmann::json doc;
    doc["record"] = "loop check";
    doc["tag"] = s.tag;
    doc["instrument"] = {{"lower", s.instrument.lower},
                         {"upper", s.instrument.upper},
                         {"unit", s.instrument.unit},
                         {"text", s.instrument.Text()}};
    doc["loop"] = {{"name", r.plan.loop.Name()},
                   {"lower", r.plan.loop.lower},
                   {"upper", r.plan.loop.upper},
                   {"unit", r.plan.loop.unit}};
    doc["mode"] = ModeName(s.mode);
    doc["stage"] = StageName(s.stage);
    doc["tolerance_percent_of_span"] = s.tolerance;
    doc["points_percent"] = s.points;
    doc["up_down"] = s.upDown;
    doc["dwell_seconds"] = s.dwellSeconds;
    doc["samples"] = s.samples;
    doc["result"] = VerdictName(r.Result());
    doc["complete"] = r.complete;
    doc["start"] = IsoLocalTime(r.start);
    doc["end"] = IsoLocalTime(r.end);
    doc["technician"] = s.technician;
    doc["calibrator"] = {{"number", r.calibrator.number},
                         {"serial", r.calibrator.serial},
                         {"path", r.calibrator.path},
                         {"manufacturer", std::string(lcx3::kManufacturer)},
                         {"product", std::string(lcx3::kProduct)},
                         {"vendor_id", lcx3::kVendorId},
                         {"product_id", lcx3::kProductId},
                         {"parameters", ParamsToJson(params)}};
    doc["tool"] = r.tool;
    doc["points"] = nlohmann::json::array();
    const PointUnits units = UnitsOf(r);
    for (const PointResult& p : r.points)
        doc["points"].push_back(PointToJson(p, units, r.plan.loop));
    return doc;
}

std::string RecordToCsv(const Record& r) {
    const Settings& s = r.settings;
    RegisterImage image = r.calibrator.holding;
    const TLCXParams params(image);
    std::string csv = Row({"field", "value"});
    const auto field = [&csv](const std::string& name, const std::string& value) {
        csv += Row({name, value});
    };
    field("tag", s.tag);
    field("instrument", s.instrument.Text());
    field("loop", r.plan.loop.Name());
    field("mode", ModeName(s.mode));
    field("stage", StageName(s.stage));
    field("tolerance_percent_of_span", FormatPicture(s.tolerance, "#0.######"));
    field("result", VerdictName(r.Result()));
    field("complete", r.complete ? "yes" : "no");
    field("start", IsoLocalTime(r.start));
    field("end", IsoLocalTime(r.end));
    field("technician", s.technician);
    field("calibrator_serial", r.calibrator.serial);
    field("calibrator_product", std::string(lcx3::kProduct));
    field("calibrator_manufacturer", std::string(lcx3::kManufacturer));
    field("tool", r.tool);
    for (const Parameter& row : Parameters()) field("parameter " + row.key, row.show(params));
    csv += "\n";
    csv += Row({"point", "direction", "nominal_percent", "time", "calibrator_value",
                "calibrator_unit", "raw", "state", "reading", "reading_unit", "ideal", "ideal_unit",
                "error_percent_of_span", "pass"});
    const PointUnits units = UnitsOf(r);
    for (const PointResult& p : r.points)
        csv += Row({std::to_string(p.planned.number), DirectionName(p.planned.direction),
                    Fixed(p.planned.percent, 2), p.time, Fixed(p.calibratorValue, kValueDecimals),
                    r.plan.loop.unit, std::to_string(p.raw), StateName(p.state),
                    Fixed(p.reading, kValueDecimals), units.reading, Fixed(p.ideal, kValueDecimals),
                    units.ideal, SignedFixed(p.error, kErrorDecimals), p.pass ? "yes" : "no"});
    return csv;
}

std::string RecordName(const Record& r) {
    std::string tag;
    for (const char c : r.settings.tag)
        tag += std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ? c : '_';
    return tag + "-" + CompactLocalTime(r.start) + "-" + StageName(r.settings.stage);
}

}  // namespace vadero::check
