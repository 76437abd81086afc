#include "app/Language.h"

namespace vadero {

std::optional<UiLanguage> LanguageNamed(const std::string& name) {
    if (name == "fr")
        return UiLanguage::French;
    if (name == "en")
        return UiLanguage::English;
    return std::nullopt;
}

UiLanguage DesktopLanguage(const std::function<const char*(const char* name)>& variable) {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = variable(name);
        if (value == nullptr || *value == '\0')
            continue;
        const std::string first = std::string(value).substr(0, std::string(value).find(':'));
        return first.rfind("en", 0) == 0 ? UiLanguage::English : UiLanguage::French;
    }
    return UiLanguage::French;
}

}  // namespace vadero
