#include "app/SystemInfo.h"

#include <sys/utsname.h>

namespace vadero {

std::optional<SystemIdentity> QuerySystem() {
    utsname names{};
    if (uname(&names) != 0)
        return std::nullopt;
    return SystemIdentity{names.sysname, names.release};
}

}  // namespace vadero
