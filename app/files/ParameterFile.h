#pragma once
// The pages' parameter set and backup files of lcx3: read whole and checked
// by the same code as `lcx3 restore`, written whole or not at all, and the
// parameters that differ between two sets.

#include <string>
#include <vector>

#include "calibrator/LCXParams.h"

namespace vadero {

// Reads the backup at `path` into the transferred registers of `params` and
// returns its warnings. Throws InputError saying why a file is refused; a
// refused file changes nothing.
std::vector<std::string> ReadParameterFile(const std::string& path, TLCXParams& params);

// Writes `params` as a backup; the reason it could not, empty when written.
std::string WriteParameterFile(const std::string& path, const TLCXParams& params);

struct ParameterDifference {
    std::string parameter;  // as lcx3 set names it; "register 10" for the one without a name
    std::string inFile;
    std::string inWindow;
};

// Every parameter that write-all sends whose registers differ, in the order
// of the parameter table. Where both show alike, the register words follow.
std::vector<ParameterDifference> DiffParameters(const TLCXParams& file, const TLCXParams& window);

}  // namespace vadero
