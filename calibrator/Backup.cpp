#include "calibrator/Backup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <optional>
#include <set>

#include "calibrator/BackupError.h"
#include "calibrator/Conversions.h"
#include "calibrator/Parameters.h"
#include "transport/UniqueFd.h"

namespace vadero {

namespace {

// A backup or a file of readings is a few kilobytes; this bounds what a
// wrong file can take.
constexpr off_t kBackupLimit = 1 << 20;

double Rounded(float value) {
    return std::nearbyint(double(value) * 1e4) / 1e4;
}

UserScale ScaleOf(const TLCXParams& p) {
    return {p.UserZero(), p.UserFullScale()};
}

std::string ErrnoText(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

[[noreturn]] void Refuse(BackupProblem::Kind kind, const std::string& what,
                         const std::string& path = {}, const std::string& detail = {},
                         long long number = 0) {
    BackupProblem problem;
    problem.kind = kind;
    problem.path = path;
    problem.detail = detail;
    problem.number = number;
    throw BackupError(std::move(problem), what);
}

[[noreturn]] void CannotRead(const std::string& path) {
    const std::string reason = std::strerror(errno);
    Refuse(BackupProblem::Kind::CannotRead, "cannot read " + path + ": " + reason, path, reason);
}

}  // namespace

std::string ReadSmallFile(const std::string& path, const std::string& kind) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    using Kind = BackupProblem::Kind;
    if (!fd)
        CannotRead(path);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        CannotRead(path);
    if (S_ISDIR(info.st_mode))
        Refuse(Kind::Directory, path + " is a directory, not a " + kind, path);
    if (!S_ISREG(info.st_mode))
        Refuse(Kind::NotRegular, path + " is not a regular file", path);
    if (info.st_size > kBackupLimit)
        Refuse(
            Kind::TooLarge,
            path + " is too large for a " + kind + " (" + std::to_string(info.st_size) + " bytes)",
            path, {}, info.st_size);
    std::string text;
    std::array<char, 4096> chunk{};
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            CannotRead(path);
        if (n == 0)
            break;
        text.append(chunk.data(), std::size_t(n));
        if (off_t(text.size()) > kBackupLimit)  // grew while being read
            Refuse(Kind::TooLarge, path + " is too large for a " + kind, path);
    }
    if (text.empty())
        Refuse(Kind::Empty, path + " is empty, not a " + kind, path);
    return text;
}

namespace {

// The first place where two documents differ ("filter.position"), if any.
std::optional<std::string> FirstDifference(const nlohmann::json& a, const nlohmann::json& b,
                                           const std::string& at) {
    if (a.is_object() && b.is_object()) {
        for (const auto& [key, value] : a.items()) {
            const std::string inner = at.empty() ? key : at + "." + key;
            if (!b.contains(key))
                return inner;
            if (auto d = FirstDifference(value, b[key], inner))
                return d;
        }
        return std::nullopt;
    }
    if (a.is_array() && b.is_array() && a.size() == b.size()) {
        for (std::size_t k = 0; k < a.size(); ++k)
            if (auto d = FirstDifference(a[k], b[k], at + "[" + std::to_string(k) + "]"))
                return d;
        return std::nullopt;
    }
    return a == b ? std::nullopt : std::optional<std::string>(at);
}

// Decoded fields are only a reading aid: one that disagrees with "holding"
// was edited by hand, and restoring "holding" would not do what it says.
void CheckDecodedFields(const nlohmann::json& document, const TLCXParams& params) {
    // Through text, as the file went: not-a-number is written as null.
    const nlohmann::json decoded = nlohmann::json::parse(ParamsToJson(params).dump());
    for (const auto& [key, value] : decoded.items()) {
        if (key == "holding" || !document.contains(key))
            continue;
        if (const auto field = FirstDifference(value, document[key], key))
            Refuse(BackupProblem::Kind::Disagrees,
                   "the backup's field \"" + *field +
                       "\" disagrees with its \"holding\" array, which is what restore "
                       "writes: edit \"holding\", or change one parameter with lcx3 set",
                   {}, *field);
    }
}

}  // namespace

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
    doc["language"] = p.Language() == kLanguageFrench    ? "fr"
                      : p.Language() == kLanguageEnglish ? "en"
                                                         : "unknown";
    nlohmann::json ramp;
    // Keys of one digit: GCC 12 at -O3 warns falsely on "t" + std::to_string(k).
    const auto key = [](char letter, int k, const char* tail) {
        return std::string{letter, char('0' + k)} + tail;
    };
    for (int k = 1; k <= kRampTimeCount; ++k) ramp[key('t', k, "")] = p.RampTime(k);
    ramp["delay"] = p.RampDelay();
    ramp["repeat"] = p.RampRepeat();
    for (int k = 1; k <= kRampLevelCount; ++k)
        ramp[key('l', k, "_percent")] = Rounded(
            RawToValue(TValueUnit::uPercent, p.Range(), std::int16_t(p.RampLevel(k)), ScaleOf(p)));
    doc["ramp"] = ramp;
    nlohmann::json memories;
    for (int table = 0; table < int(kMemoryTables.size()); ++table) {
        nlohmann::json values = nlohmann::json::array();
        for (int k = 1; k <= kMemoryCount; ++k)
            values.push_back(Rounded(
                RawToValue(TValueUnit::uPhysical, table, std::int16_t(p.Memory(table, k)), {})));
        memories[kMemoryTables[table].name] = {{"unit", kMemoryTables[table].unit},
                                               {"values", values}};
    }
    doc["memories"] = memories;
    nlohmann::json holding = nlohmann::json::array();
    for (int k = 0; k < TLCXParams::kCount; ++k)
        holding.push_back(IsTransferred(k) ? nlohmann::json(p.Word(k)) : nlohmann::json());
    doc["holding"] = holding;
    return doc;
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
        if (const auto bracket = why.find("] ");
            why.rfind("[json.", 0) == 0 && bracket != std::string::npos)
            why.erase(0, bracket + 2);
        const auto* parse = dynamic_cast<const nlohmann::json::parse_error*>(&e);
        Refuse(BackupProblem::Kind::NotJson, "the backup is not a JSON document: " + why, {}, {},
               parse ? static_cast<long long>(parse->byte) : 0);
    }
    if (duplicate)
        Refuse(BackupProblem::Kind::DuplicateKey,
               "the key \"" + *duplicate + "\" appears twice in one object", {}, *duplicate);
    return document;
}

std::vector<std::string> HoldingFromJson(const nlohmann::json& document, TLCXParams& params) {
    using Kind = BackupProblem::Kind;
    if (!document.is_object() || !document.contains("holding") || !document["holding"].is_array())
        Refuse(Kind::NoHolding, "not a backup: no \"holding\" array of the " +
                                    std::to_string(TLCXParams::kCount) + " registers");
    const auto& holding = document["holding"];
    if (holding.size() != TLCXParams::kCount)
        Refuse(Kind::HoldingSize,
               "the backup's \"holding\" array has " + std::to_string(holding.size()) +
                   " registers, not " + std::to_string(TLCXParams::kCount),
               {}, {}, static_cast<long long>(holding.size()));
    RegisterImage image{};
    TLCXParams read(image);
    for (int k = 0; k < TLCXParams::kCount; ++k) {
        const auto& v = holding[k];
        const std::string name = "the backup's register " + std::to_string(k);
        if (!IsTransferred(k)) {
            if (!v.is_null())
                Refuse(Kind::NotNull, name + " is never read nor written; it must be null", {}, {},
                       k);
            continue;
        }
        if (!v.is_number_integer() || v.get<long long>() < 0 || v.get<long long>() > 65535)
            Refuse(Kind::NotWord, name + " is not an integer from 0 to 65535", {}, {}, k);
        read.SetWord(k, std::uint16_t(v.get<long long>()));
    }
    std::vector<std::string> warnings;
    for (const Parameter& row : Parameters()) {
        if (row.Usual(read))
            continue;
        const std::string registers = row.count == 1 ? "register " + std::to_string(row.first)
                                                     : "registers " + std::to_string(row.first) +
                                                           " and " + std::to_string(row.first + 1);
        const std::string what = row.key + " (" + registers + ") holds " + row.show(read);
        if (row.strict) {
            BackupProblem problem;
            problem.kind = Kind::Impossible;
            problem.parameter = &row;
            problem.words = image;
            throw BackupError(std::move(problem), "the backup's " + what +
                                                      ", which no calibrator holds; " + row.key +
                                                      " takes " + row.Accepts());
        }
        warnings.push_back(what + ", beyond what lcx3 set or the window would write (" +
                           row.Accepts() + "); restored as it is");
    }
    CheckDecodedFields(document, read);
    for (int k = 0; k < TLCXParams::kCount; ++k)
        if (IsTransferred(k))
            params.SetWord(k, read.Word(k));
    return warnings;
}

nlohmann::json ReadBackupFile(const std::string& path) {
    try {
        return ParseBackupText(ReadSmallFile(path, "backup file"));
    } catch (const BackupError& e) {
        BackupProblem problem = e.Problem();
        problem.path = path;
        throw BackupError(std::move(problem), std::string(e.what()) + " (nothing was sent)");
    }
}

std::string WriteFileWhole(const std::string& path, const std::string& text) {
    std::string temporary = path + ".XXXXXX";
    const UniqueFd fd(::mkstemp(temporary.data()));
    if (!fd)
        return ErrnoText("cannot write", path);
    const auto fail = [&](const std::string& what) {
        std::string reason = ErrnoText(what, path);
        ::unlink(temporary.c_str());
        return reason;
    };
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd.get(), text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail("cannot write");
        done += std::size_t(n);
    }
    // mkstemp makes it private; a backup reads like any file the user writes.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd.get(), 0666 & ~mask) != 0 || ::fsync(fd.get()) != 0)
        return fail("cannot write");
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        return fail("cannot replace");
    return {};
}

}  // namespace vadero
