#include "report/RecordFiles.h"

#include <filesystem>
#include <stdexcept>

#include "calibrator/Backup.h"
#include "report/RecordPdf.h"

namespace vadero::report {

namespace {

constexpr const char* kSuffixes[] = {".json", ".csv", ".pdf"};

bool Taken(const std::filesystem::path& stem) {
    std::error_code ignored;
    for (const char* suffix : kSuffixes)
        if (std::filesystem::exists(stem.string() + suffix, ignored))
            return true;
    return false;
}

}  // namespace

WrittenRecord WriteRecordFiles(const check::Record& record, const std::string& folder) {
    WrittenRecord written;
    const std::string name = check::RecordName(record);
    std::filesystem::path stem = std::filesystem::path(folder) / name;
    for (int k = 2; Taken(stem); ++k)
        stem = std::filesystem::path(folder) / (name + "-" + std::to_string(k));
    std::string pdf;
    try {
        pdf = RecordPdf(record);
    } catch (const std::runtime_error& e) {
        written.error = e.what();
        return written;
    }
    const std::string texts[] = {RecordToJson(record).dump(2) + "\n", RecordToCsv(record), pdf};
    for (std::size_t k = 0; k < std::size(kSuffixes); ++k) {
        const std::string path = stem.string() + kSuffixes[k];
        written.error = WriteFileWhole(path, texts[k]);
        if (!written.error.empty())
            return written;
        written.files.push_back(path);
    }
    return written;
}

}  // namespace vadero::report
