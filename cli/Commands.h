#pragma once
// The commands of lcx3; each returns the exit status.

#include "cli/Options.h"

namespace vadero::cli {

int RunCommand(const Options& options);

}  // namespace vadero::cli
