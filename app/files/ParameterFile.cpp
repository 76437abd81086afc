#include "app/files/ParameterFile.h"

#include "calibrator/Backup.h"
#include "calibrator/Parameters.h"

namespace vadero {

namespace {

// The words of registers first to first + count - 1: "15433" or "0, 16544".
std::string Words(const TLCXParams& params, int first, int count) {
    std::string text;
    for (int k = first; k < first + count; ++k)
        text += (k == first ? "" : ", ") + std::to_string(params.Word(k));
    return text;
}

bool SameWords(const TLCXParams& a, const TLCXParams& b, int first, int count) {
    for (int k = first; k < first + count; ++k)
        if (a.Word(k) != b.Word(k))
            return false;
    return true;
}

}  // namespace

std::vector<std::string> ReadParameterFile(const std::string& path, TLCXParams& params) {
    const nlohmann::json document = ReadBackupFile(path);
    RegisterImage image{};
    TLCXParams read(image);
    std::vector<std::string> warnings = HoldingFromJson(document, read);
    for (int k = 0; k < TLCXParams::kCount; ++k)
        if (IsTransferred(k))
            params.SetWord(k, read.Word(k));
    return warnings;
}

std::string WriteParameterFile(const std::string& path, const TLCXParams& params) {
    return WriteFileWhole(path, ParamsToJson(params).dump(2) + "\n");
}

std::vector<ParameterDifference> DiffParameters(const TLCXParams& file, const TLCXParams& window) {
    std::vector<ParameterDifference> differences;
    for (const Parameter& row : Parameters()) {
        if (SameWords(file, window, row.first, row.count))
            continue;
        ParameterDifference d{row.key, row.show(file), row.show(window)};
        if (d.inFile == d.inWindow) {
            d.inFile += " (" + Words(file, row.first, row.count) + ")";
            d.inWindow += " (" + Words(window, row.first, row.count) + ")";
        }
        differences.push_back(d);
    }
    for (int k = 0; k < TLCXParams::kCount; ++k)
        if (IsWritten(k) && ParameterOfRegister(k) == nullptr && file.Word(k) != window.Word(k))
            differences.push_back(
                {"register " + std::to_string(k), Words(file, k, 1), Words(window, k, 1)});
    return differences;
}

}  // namespace vadero
