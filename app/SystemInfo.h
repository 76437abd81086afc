#pragma once
// The operating system's name and version for the About box.

#include <optional>
#include <string>

namespace vadero {

struct SystemIdentity {
    std::string name;     // "Linux"
    std::string version;  // "6.1.0-18-amd64"
};

// Empty when the system cannot be asked.
std::optional<SystemIdentity> QuerySystem();

}  // namespace vadero
