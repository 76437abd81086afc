#pragma once
// The pages' parameter set and backup files of lcx3: read whole and checked
// by the same code as `lcx3 restore`, written whole or not at all.

#include <string>

#include "calibrator/LCXParams.h"

namespace vadero {

// Reads the backup at `path` into the transferred registers of `params`.
// Throws BackupError saying why a file is refused; a refused file changes
// nothing.
void ReadParameterFile(const std::string& path, TLCXParams& params);

// Writes `params` as a backup; the reason it could not, empty when written.
std::string WriteParameterFile(const std::string& path, const TLCXParams& params);

}  // namespace vadero
