#include "check/Compare.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "calibrator/InputError.h"
#include "check/Record.h"

namespace vadero::check {

namespace {

struct Point {
    int number = 0;
    std::string direction;
    double nominal = 0;
    double reading = 0;
    double error = 0;
    bool pass = false;
};

struct Side {
    std::string tag;
    std::string instrument;
    std::string stage;
    std::string result;
    std::string start;
    std::vector<Point> points;
};

// The fields a comparison needs, each checked: a hand-edited or foreign file
// is refused, never half read.
Side Read(const nlohmann::json& doc, const std::string& name) {
    const auto refuse = [&name](const std::string& why) { return InputError(name + ": " + why); };
    if (!doc.is_object() || doc.value("record", "") != "loop check")
        throw refuse("not the record of a loop check (no \"record\": \"loop check\")");
    const auto text = [&](const char* key) {
        if (!doc.contains(key) || !doc[key].is_string())
            throw refuse(std::string("no text \"") + key + "\"");
        return doc[key].get<std::string>();
    };
    Side side{text("tag"), "", text("stage"), text("result"), text("start"), {}};
    if (!doc.contains("instrument") || !doc["instrument"].is_object() ||
        !doc["instrument"].contains("text") || !doc["instrument"]["text"].is_string())
        throw refuse("no \"instrument\" with its \"text\"");
    side.instrument = doc["instrument"]["text"].get<std::string>();
    if (!doc.contains("points") || !doc["points"].is_array())
        throw refuse("no \"points\" array");
    for (const auto& p : doc["points"]) {
        const bool whole =
            p.is_object() && p.contains("number") && p["number"].is_number_integer() &&
            p.contains("direction") && p["direction"].is_string() &&
            p.contains("nominal_percent") && p["nominal_percent"].is_number() &&
            p.contains("reading") && p["reading"].is_object() && p["reading"].contains("value") &&
            p["reading"]["value"].is_number() && p.contains("error_percent_of_span") &&
            p["error_percent_of_span"].is_number() && p.contains("pass") && p["pass"].is_boolean();
        if (!whole)
            throw refuse("point " + std::to_string(side.points.size() + 1) +
                         " lacks its number, direction, nominal_percent, reading, "
                         "error_percent_of_span or pass");
        side.points.push_back({p["number"].get<int>(), p["direction"].get<std::string>(),
                               p["nominal_percent"].get<double>(),
                               p["reading"]["value"].get<double>(),
                               p["error_percent_of_span"].get<double>(), p["pass"].get<bool>()});
    }
    return side;
}

std::string Padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string Columns(const std::vector<std::string>& cells) {
    constexpr std::size_t kWidths[] = {6, 6, 10, 12, 9, 6, 12, 9, 6, 0};
    std::string line;
    for (std::size_t k = 0; k < cells.size(); ++k)
        line += k + 1 == cells.size() ? cells[k] : Padded(cells[k], kWidths[k] + 1);
    return line + "\n";
}

nlohmann::json PointJson(const std::optional<Point>& p) {
    if (!p)
        return nullptr;
    return {{"number", p->number},
            {"reading", p->reading},
            {"error_percent_of_span", p->error},
            {"pass", p->pass}};
}

}  // namespace

Comparison CompareRecords(const nlohmann::json& beforeDoc, const std::string& beforeName,
                          const nlohmann::json& afterDoc, const std::string& afterName) {
    const Side before = Read(beforeDoc, beforeName);
    const Side after = Read(afterDoc, afterName);
    if (before.tag != after.tag)
        throw InputError("the records are of two instruments: " + beforeName + " of \"" +
                         before.tag + "\", " + afterName + " of \"" + after.tag + "\"");
    // Each point of the first meets the first point of the second taken in
    // the same direction at the same nominal percent; the others stand alone.
    std::vector<std::pair<std::optional<Point>, std::optional<Point>>> rows;
    std::vector<bool> used(after.points.size(), false);
    for (const Point& b : before.points) {
        std::optional<Point> match;
        for (std::size_t k = 0; k < after.points.size() && !match; ++k)
            if (!used[k] && after.points[k].direction == b.direction &&
                after.points[k].nominal == b.nominal) {
                used[k] = true;
                match = after.points[k];
            }
        rows.emplace_back(b, match);
    }
    for (std::size_t k = 0; k < after.points.size(); ++k)
        if (!used[k])
            rows.emplace_back(std::nullopt, after.points[k]);

    Comparison c;
    c.text = before.tag + "  " + before.instrument + "\n";
    c.text += "before: " + before.stage + ", " + before.start + ", " + before.result + "\n";
    c.text += "after:  " + after.stage + ", " + after.start + ", " + after.result + "\n";
    c.text += Columns({"", "", "", before.stage, "", "", after.stage, "", "", ""});
    c.text += Columns({"point", "dir", "nominal", "reading", "error", "pass", "reading", "error",
                       "pass", "change"});
    c.doc = {{"tag", before.tag},
             {"instrument", before.instrument},
             {"before", {{"file", beforeName}, {"stage", before.stage}, {"result", before.result}}},
             {"after", {{"file", afterName}, {"stage", after.stage}, {"result", after.result}}},
             {"points", nlohmann::json::array()}};
    const auto cells = [](const std::optional<Point>& p) -> std::vector<std::string> {
        if (!p)
            return {"-", "-", "-"};
        return {Fixed(p->reading, 3), SignedFixed(p->error, 3) + " %", p->pass ? "pass" : "FAIL"};
    };
    for (const auto& [b, a] : rows) {
        const Point& any = b ? *b : *a;
        std::vector<std::string> line = {std::to_string(any.number), any.direction,
                                         Fixed(any.nominal, 2) + " %"};
        for (const auto& side : {b, a}) {
            const auto three = cells(side);
            line.insert(line.end(), three.begin(), three.end());
        }
        nlohmann::json change = nullptr;
        std::string changeText = "-";
        if (a && b) {
            const double scale = std::pow(10.0, kErrorDecimals);
            change = std::nearbyint((a->error - b->error) * scale) / scale;
            changeText = SignedFixed(change.get<double>(), 3) + " %";
        }
        line.push_back(changeText);
        c.text += Columns(line);
        c.doc["points"].push_back({{"direction", any.direction},
                                   {"nominal_percent", any.nominal},
                                   {"before", PointJson(b)},
                                   {"after", PointJson(a)},
                                   {"error_change", change}});
    }
    return c;
}

}  // namespace vadero::check
