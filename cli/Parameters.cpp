#include "cli/Parameters.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iomanip>
#include <set>
#include <sstream>

#include "calibrator/Conversions.h"
#include "cli/ExitCodes.h"

namespace vadero::cli {

namespace {

constexpr std::array<const char*, 6> kRangeLabels = {
    "Génére 0-20mA",  "Génére 4-20mA",  "Génére 0-10V",
    "Mesure courant", "Mesure tension", "Mesure résistance",
};
constexpr std::array<const char*, 3> kTableNames = {"020mA", "420mA", "010V"};
constexpr std::array<const char*, 3> kTableUnits = {"mA", "mA", "V"};

UserScale ScaleOf(const TLCXParams& p) {
    return {p.UserZero(), p.UserFullScale()};
}

double Rounded(float value) {
    return std::nearbyint(double(value) * 1e4) / 1e4;
}

int OutputDecimalCount(const TLCXParams& p) {
    const std::string picture = DecimalsFormat(p.OutputDecimals());
    const auto point = picture.find('.');
    return point == std::string::npos ? 0 : int(picture.size() - point - 1);
}

std::string Fixed(double value, int decimals) {
    std::ostringstream out;
    out << std::fixed << std::setprecision(decimals) << value;
    return out.str();
}

int DigitsOfFormat(std::uint16_t code) {
    int digits = 0;
    for (const char c : FormatOfCode(code))
        if (c == '#' || c == '0')
            ++digits;
    return digits;
}

float MemoryValue(const TLCXParams& p, int table, int index) {
    return RawToValue(TValueUnit::uPhysical, table, std::int16_t(p.Memory(table, index)),
                      ScaleOf(p));
}

float LevelPercent(const TLCXParams& p, int index) {
    return RawToValue(TValueUnit::uPercent, p.Range(), std::int16_t(p.RampLevel(index)),
                      ScaleOf(p));
}

[[noreturn]] void Bad(const std::string& setting, const std::string& why) {
    throw UsageError("bad setting \"" + setting + "\": " + why);
}

long ParseInt(const std::string& setting, const std::string& text, long low, long high) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
        Bad(setting, "not an integer");
    if (value < low || value > high)
        Bad(setting, "outside " + std::to_string(low) + " to " + std::to_string(high));
    return value;
}

float ParseFloat(const std::string& setting, const std::string& text, double low, double high) {
    // from_chars: decimal only, no blanks, no sign "+", no hexadecimal, and
    // the same in every locale.
    double value = NAN;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range)
        Bad(setting, "too large or too small");
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
        Bad(setting, "not a number");
    if (value < low || value > high) {
        std::ostringstream range;
        range << "outside " << low << " to " << high;
        Bad(setting, range.str());
    }
    return float(value);
}

// What a restore may write into a register: the bounds the calibrator's
// editors keep and the conversions produce (raw values 0 to 30800); any word
// where the register is carried along or any value has a meaning.
std::pair<long, long> RestoredBounds(int address) {
    if (address == 1)
        return {0, 5};  // range codes
    if (address == 3)
        return {0, 16};
    if (address == 8)
        return {0, 0x0FFF};  // six 2-bit fields
    if (address == 11)
        return {0, 1};
    if ((address >= 16 && address <= 19) || address == 22 || address == 23)
        return {0, 99};
    if (address == 20 || address == 21 || address >= 48)
        return {0, 30800};
    return {0, 65535};
}

// The float of two registers, low word first.
float FloatOfWords(std::uint16_t low, std::uint16_t high) {
    const std::uint32_t bits = std::uint32_t(low) | (std::uint32_t(high) << 16);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

bool IsTransferred(int address) {
    return (address >= 0 && address <= 11) || (address >= 16 && address <= 23) ||
           (address >= 48 && address <= 71);
}

bool IsWritten(int address) {
    return address != 0 && IsTransferred(address);
}

std::string RangeLabel(int code) {
    return code >= 0 && code < int(kRangeLabels.size()) ? kRangeLabels[code] : "";
}

std::optional<int> RangeOfLabel(const std::string& text) {
    for (int code = 0; code < int(kRangeLabels.size()); ++code)
        if (text == kRangeLabels[code] || text == std::to_string(code))
            return code;
    return std::nullopt;
}

std::string FilterText(int position) {
    const float seconds = float(position) * 3.75f;
    const long s = std::lrint(seconds);
    return s == 0 ? "Off" : std::to_string(s) + " s";
}

nlohmann::json ParamsToJson(const TLCXParams& p) {
    nlohmann::json doc;
    doc["range"] = {{"code", p.Range()}, {"label", RangeLabel(p.Range())}};
    doc["loop_power"] = p.LoopPower() != 0;
    doc["filter"] = {{"position", p.Filter()},
                     {"seconds", std::lrint(float(p.Filter()) * 3.75f)},
                     {"text", FilterText(p.Filter())}};
    doc["user_zero"] = Rounded(p.UserZero());
    doc["user_full_scale"] = Rounded(p.UserFullScale());
    doc["user_format"] = {{"code", p.UserFormat()}, {"picture", FormatOfCode(p.UserFormat())}};
    doc["output_decimals"] = {{"code", p.OutputDecimals()},
                              {"picture", DecimalsFormat(p.OutputDecimals())}};
    doc["language"] = p.Language() == 0 ? "fr" : p.Language() == 1 ? "en" : "unknown";
    nlohmann::json ramp;
    for (int k = 1; k <= 4; ++k) ramp["t" + std::to_string(k)] = p.RampTime(k);
    ramp["delay"] = p.RampDelay();
    ramp["repeat"] = p.RampRepeat();
    ramp["l1_percent"] = Rounded(LevelPercent(p, 1));
    ramp["l2_percent"] = Rounded(LevelPercent(p, 2));
    doc["ramp"] = ramp;
    nlohmann::json memories;
    for (int table = 0; table < 3; ++table) {
        nlohmann::json values = nlohmann::json::array();
        for (int k = 1; k <= 8; ++k) values.push_back(Rounded(MemoryValue(p, table, k)));
        memories[kTableNames[table]] = {{"unit", kTableUnits[table]}, {"values", values}};
    }
    doc["memories"] = memories;
    nlohmann::json holding = nlohmann::json::array();
    for (int k = 0; k < TLCXParams::kCount; ++k)
        holding.push_back(IsTransferred(k) ? nlohmann::json(p.Word(k)) : nlohmann::json());
    doc["holding"] = holding;
    return doc;
}

std::string ParamsToText(const TLCXParams& p) {
    const int decimals = OutputDecimalCount(p);
    std::ostringstream out;
    out << "Range: " << p.Range() << " " << RangeLabel(p.Range()) << "\n"
        << "Loop power: " << (p.LoopPower() != 0 ? "on" : "off") << "\n"
        << "Filter: " << p.Filter() << " (" << FilterText(p.Filter()) << ")\n"
        << "User zero: " << Rounded(p.UserZero()) << "\n"
        << "User full scale: " << Rounded(p.UserFullScale()) << "\n"
        << "User format: \"" << FormatOfCode(p.UserFormat()) << "\"\n"
        << "Output decimals: " << p.OutputDecimals() << " (\"" << DecimalsFormat(p.OutputDecimals())
        << "\")\n"
        << "Language: "
        << (p.Language() == 0   ? "fr"
            : p.Language() == 1 ? "en"
                                : "unknown")
        << "\n"
        << "Ramp: t1 " << p.RampTime(1) << " s, t2 " << p.RampTime(2) << " s, t3 " << p.RampTime(3)
        << " s, t4 " << p.RampTime(4) << " s, D " << p.RampDelay() << " s, Rep " << p.RampRepeat()
        << ", L1 " << Fixed(LevelPercent(p, 1), 1) << " %, L2 " << Fixed(LevelPercent(p, 2), 1)
        << " %\n";
    for (int table = 0; table < 3; ++table) {
        out << "Memories " << kTableNames[table] << ":";
        for (int k = 1; k <= 8; ++k) out << " " << Fixed(MemoryValue(p, table, k), decimals);
        out << " " << kTableUnits[table] << "\n";
    }
    return out.str();
}

nlohmann::json ParseBackupText(const std::string& text) {
    // The parser keeps the last of two equal keys; a backup holding two
    // "holding" arrays would restore one of them without a word.
    std::vector<std::set<std::string>> keys;
    std::optional<std::string> duplicate;
    const nlohmann::json::parser_callback_t noteKeys = [&](int, nlohmann::json::parse_event_t event,
                                                           nlohmann::json& parsed) {
        using Event = nlohmann::json::parse_event_t;
        if (event == Event::object_start)
            keys.emplace_back();
        else if (event == Event::object_end && !keys.empty())
            keys.pop_back();
        else if (event == Event::key && !keys.empty() &&
                 !keys.back().insert(parsed.get<std::string>()).second && !duplicate)
            duplicate = parsed.get<std::string>();
        return true;
    };
    nlohmann::json document;
    try {
        document = nlohmann::json::parse(text, noteKeys);
    } catch (const nlohmann::json::exception& e) {
        // Without the library's "[json.exception.parse_error.101] " prefix.
        std::string why = e.what();
        if (const auto bracket = why.find("] "); why.rfind("[json.", 0) == 0 && bracket != std::string::npos)
            why.erase(0, bracket + 2);
        throw UsageError("the backup is not a JSON document: " + why);
    }
    if (duplicate)
        throw UsageError("the key \"" + *duplicate + "\" appears twice in one object");
    return document;
}

void HoldingFromJson(const nlohmann::json& document, TLCXParams& params) {
    if (!document.is_object() || !document.contains("holding") || !document["holding"].is_array())
        throw UsageError("not a backup: no \"holding\" array of the 72 registers");
    const auto& holding = document["holding"];
    if (holding.size() != TLCXParams::kCount)
        throw UsageError("the backup's \"holding\" array has " + std::to_string(holding.size()) +
                         " registers, not 72");
    std::array<std::uint16_t, TLCXParams::kCount> values{};
    for (int k = 0; k < TLCXParams::kCount; ++k) {
        const auto& v = holding[k];
        const std::string name = "the backup's register " + std::to_string(k);
        if (!IsTransferred(k)) {
            if (!v.is_null())
                throw UsageError(name + " is never read nor written; it must be null");
            continue;
        }
        const auto [low, high] = RestoredBounds(k);
        if (!v.is_number_integer() || v.get<long long>() < low || v.get<long long>() > high)
            throw UsageError(name + " is not an integer from " + std::to_string(low) + " to " +
                             std::to_string(high));
        values[k] = std::uint16_t(v.get<long long>());
    }
    if (!std::isfinite(FloatOfWords(values[4], values[5])))
        throw UsageError("the backup's user full scale (registers 4 and 5) is not a finite number");
    if (!std::isfinite(FloatOfWords(values[6], values[7])))
        throw UsageError("the backup's user zero (registers 6 and 7) is not a finite number");
    for (int k = 0; k < TLCXParams::kCount; ++k)
        if (IsTransferred(k))
            params.SetWord(k, values[k]);
}

Settings Settings::Parse(const std::vector<std::string>& keyValues) {
    Settings s;
    if (keyValues.empty())
        throw UsageError("set needs at least one KEY=VALUE");
    std::set<std::string> given;
    for (const std::string& setting : keyValues) {
        const auto eq = setting.find('=');
        if (eq == std::string::npos)
            Bad(setting, "expected KEY=VALUE");
        const std::string key = setting.substr(0, eq);
        const std::string value = setting.substr(eq + 1);
        // Which of two values would be meant is anyone's guess.
        if (!given.insert(key).second)
            Bad(setting, "\"" + key + "\" is given twice");
        auto add = [&s](std::function<void(TLCXParams&)> change) {
            s.changes_.push_back(std::move(change));
        };
        if (key == "range") {
            const auto code = RangeOfLabel(value);
            if (!code)
                Bad(setting, "expected a range label or 0 to 5");
            add([c = *code](TLCXParams& p) { p.SetRange(std::uint16_t(c)); });
        } else if (key == "loop-power") {
            if (value != "on" && value != "off")
                Bad(setting, "expected on or off");
            add([on = value == "on"](TLCXParams& p) { p.SetLoopPower(on ? 1 : 0); });
        } else if (key == "filter") {
            const long v = ParseInt(setting, value, 0, 16);
            add([v](TLCXParams& p) { p.SetFilter(std::uint16_t(v)); });
        } else if (key == "user-zero" || key == "user-full-scale") {
            const float v = ParseFloat(setting, value, -9999, 99999);
            if (key == "user-zero")
                add([v](TLCXParams& p) { p.SetUserZero(v); });
            else
                add([v](TLCXParams& p) { p.SetUserFullScale(v); });
        } else if (key == "user-digits") {
            s.digits_ = int(ParseInt(setting, value, 2, 5));
        } else if (key == "user-decimals") {
            s.decimals_ = int(ParseInt(setting, value, 0, 3));
        } else if (key == "output-decimals") {
            const long v = ParseInt(setting, value, 0, 3);
            add([v](TLCXParams& p) { p.SetOutputDecimals(std::int16_t(v)); });
        } else if (key == "language") {
            if (value != "fr" && value != "en")
                Bad(setting, "expected fr or en");
            add([en = value == "en"](TLCXParams& p) { p.SetLanguage(en ? 1 : 0); });
        } else if (key.size() == 2 && key[0] == 't' && key[1] >= '1' && key[1] <= '4') {
            const long v = ParseInt(setting, value, 0, 99);
            add([v, k = key[1] - '0'](TLCXParams& p) { p.SetRampTime(k, std::uint16_t(v)); });
        } else if (key == "delay") {
            const long v = ParseInt(setting, value, 0, 99);
            add([v](TLCXParams& p) { p.SetRampDelay(std::uint16_t(v)); });
        } else if (key == "repeat") {
            const long v = ParseInt(setting, value, 0, 99);
            add([v](TLCXParams& p) { p.SetRampRepeat(std::uint16_t(v)); });
        } else if (key == "l1" || key == "l2") {
            const float v = ParseFloat(setting, value, 0, 110);
            add([v, k = key[1] - '0'](TLCXParams& p) {
                p.SetRampLevel(k, ValueToRaw(TValueUnit::uPercent, p.Range(), v, ScaleOf(p)));
            });
        } else if (key.rfind("mem-", 0) == 0) {
            int table = -1;
            for (int t = 0; t < 3; ++t)
                if (key.rfind(std::string("mem-") + kTableNames[t] + "-", 0) == 0)
                    table = t;
            if (table < 0)
                Bad(setting, "unknown key");
            const std::string index = key.substr(5 + std::string(kTableNames[table]).size());
            const long n = ParseInt(setting, index, 1, 8);
            const float v = ParseFloat(setting, value, 0, table == 2 ? 11 : 22);
            add([table, n, v](TLCXParams& p) {
                p.SetMemory(table, int(n), ValueToRaw(TValueUnit::uPhysical, table, v, {}));
            });
        } else {
            Bad(setting, "unknown key");
        }
    }
    if (s.digits_ && s.decimals_ && *s.decimals_ > *s.digits_ - 2)
        throw UsageError("user-decimals must be 0 to user-digits - 2");
    return s;
}

void Settings::Apply(TLCXParams& params) const {
    for (const auto& change : changes_) change(params);
    if (!digits_ && !decimals_)
        return;
    const int digits = digits_.value_or(DigitsOfFormat(params.UserFormat()));
    const int decimals = decimals_.value_or(DecimalsOfFormat(params.UserFormat()));
    if (decimals > digits - 2)
        throw UsageError("user-decimals " + std::to_string(decimals) + " needs at least " +
                         std::to_string(decimals + 2) + " user-digits");
    params.SetUserFormat(CodeOfFormat(digits, decimals));
}

}  // namespace vadero::cli
