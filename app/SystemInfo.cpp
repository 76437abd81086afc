#include "app/SystemInfo.h"

#include <sys/utsname.h>

namespace vadero {

std::optional<SystemIdentity> QuerySystem() {
    utsname names{};
    if (uname(&names) != 0)
        return std::nullopt;
    return SystemIdentity{names.sysname, names.release};
}

AboutSystemTexts SystemTexts(const std::optional<SystemIdentity>& identity) {
    AboutSystemTexts texts;
    texts.versionWin = "Version n° : ";
    if (identity) {
        texts.systeme = "Système : " + identity->name;
        texts.versionWin += identity->version;
    }
    return texts;
}

}  // namespace vadero
