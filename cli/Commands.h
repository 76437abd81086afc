#pragma once
// The commands of lcx3; each returns the exit status.

#include <memory>

#include "cli/Options.h"
#include "transport/HidLayer.h"

namespace vadero::cli {

int RunCommand(const Options& options);
// The same through the caller's HID layer; the --emulate options are not used.
int RunCommand(const Options& options, std::unique_ptr<HidLayer> hid);

}  // namespace vadero::cli
