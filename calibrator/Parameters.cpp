#include "calibrator/Parameters.h"

#include <array>
#include <charconv>
#include <cmath>
#include <set>
#include <sstream>

#include "calibrator/Conversions.h"
#include "calibrator/InputError.h"
#include "calibrator/Numbers.h"

namespace vadero {

namespace {

constexpr std::array<const char*, kRangeCount> kRangeLabels = {
    "Génére 0-20mA",  "Génére 4-20mA",  "Génére 0-10V",
    "Mesure courant", "Mesure tension", "Mesure résistance",
};
constexpr std::array<const char*, kRangeCount> kRangeNames = {
    "0-20 mA", "4-20 mA", "0-10 V", "current measure", "voltage measure", "resistance measure",
};

UserScale ScaleOf(const TLCXParams& p) {
    return {p.UserZero(), p.UserFullScale()};
}

// A number in a picture, without the blanks that stand for unused places.
std::string Shown(double value, const std::string& picture) {
    const std::string text = FormatPicture(value, picture);
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? text : text.substr(first);
}

// Limits as a person reads them: "0", "-9999", "112.5".
std::string Plain(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

int DigitsOfFormat(std::uint16_t code) {
    int digits = 0;
    for (const char c : FormatOfCode(code))
        if (c == '#' || c == '0')
            ++digits;
    return digits;
}

// user-digits and user-decimals build one register together.
void SetUserFormat(TLCXParams& p, const Given& given) {
    const auto value = [&given](const char* key, int current) {
        const auto it = given.find(key);
        return it == given.end() ? current : int(it->second);
    };
    const int digits = value("user-digits", DigitsOfFormat(p.UserFormat()));
    const int decimals = value("user-decimals", DecimalsOfFormat(p.UserFormat()));
    if (decimals > digits - 2)
        throw InputError("user-decimals " + std::to_string(decimals) + " needs at least " +
                         std::to_string(decimals + 2) + " user-digits (the calibrator shows " +
                         std::to_string(DigitsOfFormat(p.UserFormat())) + ")");
    p.SetUserFormat(CodeOfFormat(digits, decimals));
}

// Ranges whose loop supply the window offers: the current output and input.
bool HasLoopPower(int range) {
    return range == rgGenerate020mA || range == rgGenerate420mA || range == rgMeasureCurrent;
}

void SetRange(TLCXParams& p, double code, const Given& given) {
    p.SetRange(std::uint16_t(code));
    // As the window does: choosing the voltage output or a measuring range
    // switches the loop supply off, unless it is asked for at once.
    if (int(code) >= rgGenerate010V && given.count("loop-power") == 0)
        p.SetLoopPower(0);
}

void SetLoopPower(TLCXParams& p, double on, const Given&) {
    if (on != 0 && !HasLoopPower(p.Range()))
        throw InputError("loop-power=on: the range \"" + RangeLabel(p.Range()) +
                         "\" has no loop supply (nothing was written)");
    p.SetLoopPower(on != 0 ? 1 : 0);
}

// A number in a unit, 'low' to 'high'; real unless its register takes integers.
Parameter Real(const std::string& key, int first, double low, double high, const char* unit) {
    Parameter row;
    row.key = key;
    row.first = first;
    row.low = low;
    row.high = high;
    row.integer = false;
    row.unit = unit;
    return row;
}

// A one-register integer that set writes as it is.
Parameter Word(const std::string& key, int address, double low, double high, const char* unit) {
    Parameter row = Real(key, address, low, high, unit);
    row.integer = true;
    row.get = [address](const TLCXParams& p) { return double(p.Word(address)); };
    row.set = [address](TLCXParams& p, double v, const Given&) {
        p.SetWord(address, std::uint16_t(v));
    };
    row.show = [address, unit = std::string(unit)](const TLCXParams& p) {
        return std::to_string(p.Word(address)) + (unit.empty() ? "" : " " + unit);
    };
    return row;
}

Parameter Choice(const std::string& key, int address, std::vector<std::string> choices) {
    Parameter row;
    row.key = key;
    row.first = address;
    row.choices = std::move(choices);
    row.high = double(row.choices.size() - 1);
    row.get = [address](const TLCXParams& p) { return double(p.Word(address)); };
    return row;
}

std::vector<Parameter> BuildTable() {
    std::vector<Parameter> t;

    Parameter range = Choice("range", reg::kRange, {kRangeLabels.begin(), kRangeLabels.end()});
    range.phase = Phase::Shape;
    range.strict = true;
    range.set = SetRange;
    range.show = [](const TLCXParams& p) {
        const int code = p.Range();
        return code < int(kRangeLabels.size()) ? std::to_string(code) + ", " + kRangeNames[code] +
                                                     " (\"" + kRangeLabels[code] + "\")"
                                               : std::to_string(code) + " (unknown)";
    };
    t.push_back(range);

    Parameter loop = Choice("loop-power", reg::kLoopPower, {"off", "on"});
    loop.get = [](const TLCXParams& p) { return p.LoopPower() != 0 ? 1.0 : 0.0; };
    loop.set = SetLoopPower;
    loop.show = [](const TLCXParams& p) { return std::string(p.LoopPower() != 0 ? "on" : "off"); };
    t.push_back(loop);

    Parameter filter = Word("filter", reg::kFilter, 0, kFilterMax, "");
    filter.strict = true;
    filter.show = [](const TLCXParams& p) {
        return std::to_string(p.Filter()) + " (" + FilterText(p.Filter()) + ")";
    };
    t.push_back(filter);

    const auto userValue = [](float (TLCXParams::*get)() const, void (TLCXParams::*set)(float)) {
        return std::pair{[get](const TLCXParams& p) { return double((p.*get)()); },
                         [set](TLCXParams& p, double v, const Given&) { (p.*set)(float(v)); }};
    };
    Parameter fullScale =
        Real("user-full-scale", reg::kUserFullScale, kUserValueMin, kUserValueMax, "");
    fullScale.count = 2;
    std::tie(fullScale.get, fullScale.set) =
        userValue(&TLCXParams::UserFullScale, &TLCXParams::SetUserFullScale);
    fullScale.show = [](const TLCXParams& p) {
        return Shown(p.UserFullScale(), FormatOfCode(p.UserFormat()));
    };
    t.push_back(fullScale);
    Parameter zero = Real("user-zero", reg::kUserZero, kUserValueMin, kUserValueMax, "");
    zero.count = 2;
    std::tie(zero.get, zero.set) = userValue(&TLCXParams::UserZero, &TLCXParams::SetUserZero);
    zero.show = [](const TLCXParams& p) {
        return Shown(p.UserZero(), FormatOfCode(p.UserFormat()));
    };
    t.push_back(zero);

    Parameter digits = Word("user-digits", reg::kUserFormat, 2, 5, "");
    digits.phase = Phase::Shape;
    digits.get = [](const TLCXParams& p) { return double(DigitsOfFormat(p.UserFormat())); };
    digits.set = [](TLCXParams& p, double, const Given& given) { SetUserFormat(p, given); };
    digits.show = [](const TLCXParams& p) {
        return std::to_string(DigitsOfFormat(p.UserFormat())) + " (\"" +
               FormatOfCode(p.UserFormat()) + "\")";
    };
    t.push_back(digits);
    Parameter decimals = digits;
    decimals.key = "user-decimals";
    decimals.low = 0;
    decimals.high = 3;
    decimals.get = [](const TLCXParams& p) { return double(DecimalsOfFormat(p.UserFormat())); };
    decimals.show = [](const TLCXParams& p) {
        return std::to_string(DecimalsOfFormat(p.UserFormat()));
    };
    t.push_back(decimals);

    Parameter outputDecimals = Word("output-decimals", reg::kOutputDecimals, 0, 3, "");
    outputDecimals.phase = Phase::Shape;
    outputDecimals.get = [](const TLCXParams& p) { return double(p.OutputDecimals()); };
    outputDecimals.show = [](const TLCXParams& p) {
        return std::to_string(p.OutputDecimals()) + " (\"" + DecimalsFormat(p.OutputDecimals()) +
               "\")";
    };
    t.push_back(outputDecimals);

    Parameter language = Choice("language", reg::kLanguage, {"fr", "en"});
    language.strict = true;
    language.set = [](TLCXParams& p, double v, const Given&) { p.SetLanguage(std::uint16_t(v)); };
    language.show = [](const TLCXParams& p) {
        const int code = p.Language();
        return code == kLanguageFrench    ? std::string("fr (French)")
               : code == kLanguageEnglish ? std::string("en (English)")
                                          : std::to_string(code) + " (unknown)";
    };
    t.push_back(language);

    for (int k = 1; k <= kRampTimeCount; ++k)
        t.push_back(Word("t" + std::to_string(k), reg::kRampTime1 + k - 1, 0, kRampLimit, "s"));
    for (int k = 1; k <= kRampLevelCount; ++k) {
        Parameter level = Real("l" + std::to_string(k), reg::kRampLevel1 + k - 1, 0, 110, "%");
        level.raw = true;
        level.get = [k](const TLCXParams& p) {
            return double(RawToValue(TValueUnit::uPercent, p.Range(), std::int16_t(p.RampLevel(k)),
                                     ScaleOf(p)));
        };
        level.set = [k](TLCXParams& p, double v, const Given&) {
            p.SetRampLevel(k, ValueToRaw(TValueUnit::uPercent, p.Range(), float(v), ScaleOf(p)));
        };
        level.show = [get = level.get](const TLCXParams& p) {
            return Shown(get(p), "#0.0") + " %";
        };
        t.push_back(level);
    }
    t.push_back(Word("delay", reg::kRampDelay, 0, kRampLimit, "s"));
    t.push_back(Word("repeat", reg::kRampRepeat, 0, kRampLimit, ""));

    for (int table = 0; table < int(kMemoryTables.size()); ++table) {
        const MemoryTable& m = kMemoryTables[table];
        const double high = RawToValue(TValueUnit::uPhysical, table, std::int16_t(kRawMax), {});
        for (int k = 1; k <= kMemoryCount; ++k) {
            Parameter memory =
                Real(std::string("mem-") + m.name + "-" + std::to_string(k),
                     reg::kMemory1[std::size_t(table)] + k - 1, 0, std::nearbyint(high), m.unit);
            memory.raw = true;
            memory.get = [table, k](const TLCXParams& p) {
                return double(
                    RawToValue(TValueUnit::uPhysical, table, std::int16_t(p.Memory(table, k)), {}));
            };
            memory.set = [table, k](TLCXParams& p, double v, const Given&) {
                p.SetMemory(table, k, ValueToRaw(TValueUnit::uPhysical, table, float(v), {}));
            };
            memory.show = [get = memory.get, unit = std::string(m.unit)](const TLCXParams& p) {
                return Shown(get(p), "#0.000") + " " + unit;
            };
            t.push_back(memory);
        }
    }
    return t;
}

[[noreturn]] void Bad(const std::string& setting, const std::string& why) {
    throw InputError("bad setting \"" + setting + "\": " + why);
}

}  // namespace

std::string RangeLabel(int code) {
    return code >= 0 && code < int(kRangeLabels.size()) ? kRangeLabels[code] : "";
}

std::string RangeName(int code) {
    return code >= 0 && code < int(kRangeNames.size()) ? kRangeNames[code] : "unknown";
}

std::string FilterText(int position) {
    const float seconds = float(position) * 3.75f;
    const long s = std::lrint(seconds);
    return s == 0 ? "Off" : std::to_string(s) + " s";
}

int OutputDecimalCount(const TLCXParams& p) {
    const std::string picture = DecimalsFormat(p.OutputDecimals());
    const auto point = picture.find('.');
    return point == std::string::npos ? 0 : int(picture.size() - point - 1);
}

double ParseNumber(const std::string& what, const std::string& text, double low, double high,
                   bool integer) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    double value = NAN;
    if (integer) {
        long long n = 0;
        const auto [stop, error] = std::from_chars(begin, end, n);
        if (error != std::errc{} || stop != end)
            throw InputError(what + ": not an integer");
        value = double(n);
    } else {
        const auto [stop, error] = std::from_chars(begin, end, value);
        if (error == std::errc::result_out_of_range)
            throw InputError(what + ": too large or too small");
        if (error != std::errc{} || stop != end || !std::isfinite(value))
            throw InputError(what + ": not a number");
    }
    if (value < low || value > high)
        throw InputError(what + ": outside " + Plain(low) + " to " + Plain(high));
    return value;
}

std::string Parameter::Accepts() const {
    if (key == "range")
        return "a range label or 0 to " + std::to_string(kRangeCount - 1);
    if (!choices.empty()) {
        std::string words;
        for (std::size_t k = 0; k < choices.size(); ++k)
            words += (k == 0 ? "" : k + 1 == choices.size() ? " or " : ", ") + choices[k];
        return words;
    }
    return Plain(low) + " to " + Plain(high) + (unit.empty() ? "" : " " + unit);
}

double Parameter::Parse(const std::string& text) const {
    const std::string setting = key + "=" + text;
    if (choices.empty())
        return ParseNumber("bad setting \"" + setting + "\"", text, low, high, integer);
    for (std::size_t k = 0; k < choices.size(); ++k)
        if (text == choices[k] || (key == "range" && text == std::to_string(k)))
            return double(k);
    Bad(setting, "expected " + Accepts());
}

bool Parameter::Usual(const TLCXParams& p) const {
    if (raw)
        return p.Word(first) <= kRawMax;
    const double value = get(p);
    return value >= low && value <= high;  // false for not-a-number too
}

const std::vector<Parameter>& Parameters() {
    static const std::vector<Parameter> table = BuildTable();
    return table;
}

const Parameter* FindParameter(const std::string& key) {
    for (const Parameter& row : Parameters())
        if (row.key == key)
            return &row;
    return nullptr;
}

const Parameter* ParameterOfRegister(int address) {
    for (const Parameter& row : Parameters())
        if (address >= row.first && address < row.first + row.count)
            return &row;
    return nullptr;
}

std::string ParamsToText(const TLCXParams& params) {
    std::size_t width = std::string("parameter").size();
    for (const Parameter& row : Parameters()) width = std::max(width, row.key.size());
    const auto line = [width](const std::string& key, const std::string& value) {
        return key + std::string(width + 2 - key.size(), ' ') + value + "\n";
    };
    std::string text = line("parameter", "value");
    for (const Parameter& row : Parameters()) text += line(row.key, row.show(params));
    return text;
}

Settings Settings::Parse(const std::vector<std::string>& keyValues) {
    Settings s;
    if (keyValues.empty())
        throw InputError("set needs at least one KEY=VALUE");
    for (const std::string& setting : keyValues) {
        const auto eq = setting.find('=');
        if (eq == std::string::npos)
            Bad(setting, "expected KEY=VALUE");
        const std::string key = setting.substr(0, eq);
        const Parameter* row = FindParameter(key);
        if (row == nullptr) {
            for (const MemoryTable& m : kMemoryTables)
                if (key.rfind(std::string("mem-") + m.name + "-", 0) == 0)
                    Bad(setting, "the memory number is outside 1 to 8");
            Bad(setting, "unknown key (lcx3 set --help lists them)");
        }
        // Which of two values would be meant is anyone's guess.
        if (s.given_.count(key) != 0)
            Bad(setting, "\"" + key + "\" is given twice");
        s.given_[key] = row->Parse(setting.substr(eq + 1));
    }
    const auto digits = s.given_.find("user-digits");
    const auto decimals = s.given_.find("user-decimals");
    if (digits != s.given_.end() && decimals != s.given_.end() &&
        decimals->second > digits->second - 2)
        throw InputError("user-decimals must be 0 to user-digits - 2");
    return s;
}

void Settings::Apply(TLCXParams& params) const {
    for (const Phase phase : {Phase::Shape, Phase::Value})
        for (const Parameter& row : Parameters())
            if (row.phase == phase)
                if (const auto it = given_.find(row.key); it != given_.end())
                    row.set(params, it->second, given_);
}

}  // namespace vadero
