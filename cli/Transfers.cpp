// The commands that move the whole parameter set: read, backup, set, restore.
#include "calibrator/Backup.h"
#include "cli/Job.h"

namespace vadero::cli {

namespace {

// What a write-all says when it did not end or its read-back differs. Texts
// of the program only: a coroutine parameter made from braces with members
// to destroy is destroyed twice by GCC 12.
struct Wording {
    const char* what;        // "the settings"
    const char* notWritten;  // "the settings were not written"
    const char* unverified;  // "the settings were written but not verified"
};

// A register's value as a person reads it: "5 (19 s)", "6.000 mA (raw 8400)".
std::string Described(const TLCXParams& params, int address) {
    std::string raw = std::to_string(params.Word(address));
    const Parameter* row = ParameterOfRegister(address);
    if (row == nullptr)
        return raw;
    const std::string shown = row->show(params);
    return shown.rfind(raw, 0) == 0 ? shown : shown + " (raw " + raw + ")";
}

nlohmann::json Holding(const RegisterImage& image, bool (*included)(int)) {
    nlohmann::json holding = nlohmann::json::array();
    for (int k = 0; k < TLCXParams::kCount; ++k)
        holding.push_back(included(k) ? nlohmann::json(image[std::size_t(k)]) : nlohmann::json());
    return holding;
}

// Each register the calibrator holds otherwise than it was sent.
void Compare(const RegisterImage& sentImage, const TLCXParams& now, Outcome& out) {
    RegisterImage copy = sentImage;
    const TLCXParams sent(copy);
    out.doc["differences"] = nlohmann::json::array();
    for (int k = 0; k < TLCXParams::kCount; ++k) {
        if (!IsWritten(k) || sent.Word(k) == now.Word(k))
            continue;
        const Parameter* row = ParameterOfRegister(k);
        const std::string key = row ? row->key : "register " + std::to_string(k);
        out.details.push_back((row ? key + " (register " + std::to_string(k) + ")" : key) +
                              ": wrote " + Described(sent, k) + ", read " + Described(now, k));
        out.doc["differences"].push_back({{"register", k},
                                          {"key", row ? nlohmann::json(key) : nlohmann::json()},
                                          {"wrote", sent.Word(k)},
                                          {"read", now.Word(k)},
                                          {"wrote_text", Described(sent, k)},
                                          {"read_text", Described(now, k)}});
    }
}

// Writes the image, reads it back and compares it with what was sent.
Task<Outcome> WriteAndVerify(Job& job, Wording words, Outcome out) {
    SessionRunner& runner = *job.runner;
    out.doc["calibrator"] = job.Identity();
    job.bar.Begin("writing");
    const bool written = co_await runner.WriteAll();
    if (!written) {
        const int blocks = runner.BlocksWritten();
        Outcome failed = job.Unfinished(words.notWritten);
        if (blocks > 0)
            failed.error += " (" + std::to_string(blocks) + " of " +
                            std::to_string(kWriteAllBlocks.size()) +
                            " blocks were written: the calibrator may hold part of " +
                            std::string(words.what) + ")";
        failed.doc = out.doc;
        co_return failed;
    }
    // As it travelled: the session sends loop power on as 2.
    const RegisterImage sent = runner.Lcx().Master().HoldingRegisters;
    out.doc["written"] = Holding(sent, IsWritten);
    if (!job.options.verify) {
        out.doc["verified"] = false;
        out.text += "written on " + job.Where() + " (not verified)\n";
        co_return out;
    }
    job.bar.Begin("verifying");
    const bool readBack = co_await runner.ReadAll();
    if (!readBack) {
        Outcome failed = job.Unfinished(words.unverified);
        failed.doc = out.doc;
        co_return failed;
    }
    Compare(sent, job.Params(), out);
    out.doc["verified"] = out.details.empty();
    if (!out.details.empty()) {
        out.status = kMismatch;
        out.error = "verification failed on " + job.Where() + ": " +
                    std::to_string(out.details.size()) +
                    " register(s) hold other values than were written";
    }
    co_return out;
}

}  // namespace

Task<Outcome> ReadCommand(Job& job) {
    auto failed = co_await job.ReadAll("the parameters were not read");
    if (failed)
        co_return *failed;
    Outcome out;
    out.doc = ParamsToJson(job.Params());
    // What the calibrator holds, raw; the decoded fields say what it means.
    out.doc["holding"] = Holding(job.runner->Lcx().ReceivedHolding(), IsTransferred);
    out.doc["calibrator"] = job.Identity();
    out.text = ParamsToText(job.Params());
    for (const Parameter& row : Parameters())
        out.rows.emplace_back(row.key, row.show(job.Params()));
    out.summary = "read";
    co_return out;
}

Task<Outcome> BackupCommand(Job& job) {
    auto failed = co_await job.ReadAll("nothing was backed up");
    if (failed)
        co_return *failed;
    const std::string& path = job.file;
    nlohmann::json backup = ParamsToJson(job.Params());
    backup["calibrator"] = job.Identity();
    job.bar.Done();
    if (const std::string why = WriteFileWhole(path, backup.dump(2) + "\n"); !why.empty())
        co_return Failure(kNotSaved, why + " (the calibrator was read; no backup was made)");
    Outcome out;
    out.doc = {{"calibrator", job.Identity()}, {"file", path}, {"holding", backup["holding"]}};
    out.text = "backup of " + job.Where() + " written to " + path + "\n";
    out.summary = "written to " + path;
    co_return out;
}

Task<Outcome> SetCommand(Job& job) {
    auto failed = co_await job.ReadAll("nothing was changed");
    if (failed)
        co_return *failed;
    TLCXParams& params = job.Params();
    RegisterImage before = job.runner->Lcx().Master().HoldingRegisters;
    const TLCXParams old(before);
    job.plan.settings->Apply(params);
    Outcome out;
    out.doc["changes"] = nlohmann::json::array();
    std::vector<std::pair<std::string, std::string>> lines;
    for (const Parameter& row : Parameters()) {
        const bool given = job.plan.settings->Values().count(row.key) != 0;
        const std::string was = row.show(old);
        const std::string now = row.show(params);
        if (!given && was == now)
            continue;
        lines.emplace_back(row.key, was == now ? now + ", unchanged" : was + " -> " + now);
        out.doc["changes"].push_back({{"key", row.key}, {"before", was}, {"after", now}});
    }
    std::size_t width = 0;
    for (const auto& line : lines) width = std::max(width, line.first.size());
    for (const auto& [key, change] : lines)
        out.text += key + std::string(width + 2 - key.size(), ' ') + change + "\n";
    const std::size_t listed = lines.size();
    out = co_await WriteAndVerify(job,
                                  {"the settings", "the settings were not written",
                                   "the settings were written but not verified"},
                                  std::move(out));
    out.summary = std::to_string(listed) + " parameter" + (listed == 1 ? "" : "s") +
                  (job.options.verify ? " written and verified" : " written (not verified)");
    if (out.status == kOk && job.options.verify)
        out.text += out.summary + " on " + job.Where() + "\n";
    co_return out;
}

Task<Outcome> RestoreCommand(Job& job) {
    TLCXParams& params = job.Params();
    for (int k = 0; k < TLCXParams::kCount; ++k)
        if (IsTransferred(k))
            params.SetWord(k, (*job.plan.restored)[std::size_t(k)]);
    Outcome out;
    out.warnings = job.plan.warnings;
    const std::string& path = job.options.arguments[0];
    out.doc["file"] = path;
    out = co_await WriteAndVerify(job, {"the backup", "not restored", "restored but not verified"},
                                  std::move(out));
    out.summary = job.options.verify ? "restored and verified" : "restored (not verified)";
    if (out.status == kOk && job.options.verify)
        out.text += path + " restored and verified on " + job.Where() + "\n";
    co_return out;
}

}  // namespace vadero::cli
