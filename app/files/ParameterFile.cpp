#include "app/files/ParameterFile.h"

#include "calibrator/Backup.h"

namespace vadero {

void ReadParameterFile(const std::string& path, TLCXParams& params) {
    const nlohmann::json document = ReadBackupFile(path);
    RegisterImage image{};
    TLCXParams read(image);
    HoldingFromJson(document, read);  // its warnings are lcx3's words; the window has its own
    for (int k = 0; k < TLCXParams::kCount; ++k)
        if (IsTransferred(k))
            params.SetWord(k, read.Word(k));
}

std::string WriteParameterFile(const std::string& path, const TLCXParams& params) {
    return WriteFileWhole(path, ParamsToJson(params).dump(2) + "\n");
}

}  // namespace vadero
