#include "check/Settings.h"

#include <cmath>

#include "calibrator/InputError.h"
#include "calibrator/Numbers.h"
#include "calibrator/Parameters.h"

namespace vadero::check {

namespace {

// Numbers of a range or a point: any finite value a person types.
constexpr double kLargest = 1e30;

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The bytes that follow a UTF-8 sequence's first; 4 for a byte no sequence
// starts with.
std::size_t Following(unsigned char lead) {
    return lead < 0x80             ? 0
           : (lead & 0xE0) == 0xC0 ? 1
           : (lead & 0xF0) == 0xE0 ? 2
           : (lead & 0xF8) == 0xF0 ? 3
                                   : 4;
}

// A code point that is no character of a text: a control, a surrogate, beyond
// Unicode, or one written longer than it needs.
bool Refused(char32_t point, std::size_t following) {
    constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    const bool control = point < 0x20 || (point >= 0x7F && point < 0xA0);
    const bool surrogate = point >= 0xD800 && point < 0xE000;
    return point < kLeast[following] || point > 0x10FFFF || control || surrogate;
}

// Characters of a UTF-8 text; none when it is no valid UTF-8 or holds a
// control character (the record's files and page take it as it is).
std::optional<std::size_t> Characters(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t k = 0; k < text.size(); ++count) {
        const auto lead = static_cast<unsigned char>(text[k]);
        const std::size_t more = Following(lead);
        if (more == 4 || k + more >= text.size())
            return std::nullopt;
        char32_t point = more == 0 ? lead : lead & (0x3F >> more);
        for (std::size_t m = 1; m <= more; ++m) {
            const auto next = static_cast<unsigned char>(text[k + m]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            point = point << 6 | (next & 0x3F);
        }
        if (Refused(point, more))
            return std::nullopt;
        k += more + 1;
    }
    return count;
}

void CheckText(const std::string& what, const std::string& text, std::size_t most, bool required) {
    const auto count = Characters(text);
    if (!count)
        throw InputError(what + ": not a text of printable characters (UTF-8)");
    if (required && Trimmed(text).empty())
        throw InputError(what + ": empty");
    if (*count > most)
        throw InputError(what + ": " + std::to_string(*count) + " characters, at most " +
                         std::to_string(most));
}

std::string Shown(double value) {
    std::string text = FormatPicture(value, "#0.######");
    return text;
}

}  // namespace

std::string Instrument::Text() const {
    return Shown(lower) + ".." + Shown(upper) + " " + unit;
}

Instrument ParseInstrument(const std::string& given) {
    const std::string what = "--instrument \"" + given + "\"";
    const std::string text = Trimmed(given);
    const auto dots = text.find("..");
    if (dots == std::string::npos)
        throw InputError(what +
                         ": give the range and unit as LOWER..UPPER UNIT, e.g. \"0..150 degC\"");
    const std::string upperAndUnit = text.substr(dots + 2);
    const auto end = upperAndUnit.find_first_not_of("0123456789.-");
    Instrument instrument;
    instrument.lower = ParseNumber(what + ": the lower value", Trimmed(text.substr(0, dots)),
                                   -kLargest, kLargest, false);
    instrument.upper = ParseNumber(what + ": the upper value", upperAndUnit.substr(0, end),
                                   -kLargest, kLargest, false);
    instrument.unit = end == std::string::npos ? "" : Trimmed(upperAndUnit.substr(end));
    if (instrument.unit.empty())
        throw InputError(what + ": no unit after the upper value, e.g. \"0..150 degC\"");
    CheckText(what + ": the unit", instrument.unit, kUnitLength, true);
    if (instrument.lower == instrument.upper)
        throw InputError(what + ": the range is empty (the lower and upper values are equal)");
    return instrument;
}

std::vector<double> ParsePoints(const std::string& text) {
    std::vector<double> points;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = text.find(',', from);
        const std::string item = Trimmed(text.substr(from, comma - from));
        points.push_back(
            ParseNumber("--points: \"" + item + "\"", item, -kLargest, kLargest, false));
        if (comma == std::string::npos)
            break;
        from = comma + 1;
    }
    return points;
}

void Validate(const Settings& s) {
    CheckText("--tag", s.tag, kTagLength, true);
    CheckText("--technician", s.technician, kTechnicianLength, false);
    if (s.points.empty() || int(s.points.size()) > kMostPoints)
        throw InputError("--points: " + std::to_string(s.points.size()) + " points; from 1 to " +
                         std::to_string(kMostPoints) + " fit the record's page");
    if (!(s.tolerance > 0))
        throw InputError("--tolerance: " + Shown(s.tolerance) +
                         "; it must be above 0 (percent of span)");
    if (s.samples < 1 || s.samples > kMostSamples)
        throw InputError("--samples: " + std::to_string(s.samples) + "; from 1 to " +
                         std::to_string(kMostSamples));
    if (s.samples != 1 && s.mode != Mode::Measure)
        throw InputError("--samples goes with --mode measure: a source check reads the instrument");
    if (!(s.dwellSeconds >= 0))
        throw InputError("--dwell: below 0");
    if (s.instrument.lower == s.instrument.upper)
        throw InputError("--instrument: the range is empty");
}

int PointCount(const Settings& s) {
    return int(s.points.size()) * (s.upDown ? 2 : 1);
}

int ParseLoop(const std::string& text) {
    std::string compact;
    for (const char c : text)
        if (c != ' ')
            compact += c;
    std::string names;
    for (int code = rgGenerate020mA; code <= rgGenerate010V; ++code) {
        std::string name;
        for (const char c : RangeName(code))
            if (c != ' ')
                name += c;
        if (compact == name)
            return code;
        names += (names.empty() ? "" : ", ") + name;
    }
    throw InputError("--loop \"" + text + "\": give " + names);
}

const char* ModeName(Mode mode) {
    return mode == Mode::Source ? "source" : "measure";
}

const char* StageName(Stage stage) {
    return stage == Stage::AsFound ? "as-found" : "as-left";
}

}  // namespace vadero::check
