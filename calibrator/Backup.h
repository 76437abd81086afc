#pragma once
// Backup files: the parameter set as a JSON document, its checks when it is
// read back, and its safe writing.

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "calibrator/LCXParams.h"

namespace vadero {

// The decoded values and "holding": 72 entries, null where not transferred.
nlohmann::json ParamsToJson(const TLCXParams& params);

// The document of a backup file's text; throws InputError for text that is
// no JSON or has an object with a key twice.
nlohmann::json ParseBackupText(const std::string& text);

// Reads the "holding" array of a backup into the image and returns a warning
// for each value that a calibrator can hold but the window or set would not
// write. Throws InputError for a document that lacks a transferred register,
// holds a value where a register is not transferred, a value its register
// cannot hold, or decoded fields that disagree with its "holding" array.
std::vector<std::string> HoldingFromJson(const nlohmann::json& document, TLCXParams& params);

// The checked document of a backup file; throws InputError saying why it is
// refused (a FIFO, a directory, an oversized or unreadable file, bad JSON).
nlohmann::json ReadBackupFile(const std::string& path);

// The text of a small file a person hands over (a backup, readings), opened
// without blocking and refused unless it is a regular file: reading a FIFO
// would wait for a writer for ever. Throws InputError saying why, naming it
// by `kind` ("backup file").
std::string ReadSmallFile(const std::string& path, const std::string& kind);

// Writes a sibling first and renames it over `path`, so that the old file
// stays whole until the new one is; on failure no sibling is left. Returns
// the reason ("cannot write PATH: No space left on device"), empty on success.
std::string WriteFileWhole(const std::string& path, const std::string& text);

}  // namespace vadero
