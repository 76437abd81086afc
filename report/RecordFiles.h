#pragma once
// A loop check's record written whole into a folder: NAME.json, NAME.csv and
// NAME.pdf, each through the backup's safe write (a temporary sibling,
// fsync, rename), so that a file is either the old one or the whole new one.

#include <string>
#include <vector>

#include "check/Record.h"

namespace vadero::report {

struct WrittenRecord {
    std::vector<std::string> files;  // the paths written, JSON first
    std::string error;               // why one could not be written; empty when all were
};

// NAME is RecordName(record), with "-2", "-3", ... added when a record of
// that name is already in the folder: an earlier record is never replaced.
WrittenRecord WriteRecordFiles(const check::Record& record, const std::string& folder);

}  // namespace vadero::report
