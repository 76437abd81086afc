#pragma once
// The window's language: French, whose texts are the program's own, or the
// English translation shipped with it. It follows the desktop's locale
// (English for "en…", French otherwise) unless --lang names one.

#include <functional>
#include <optional>
#include <string>

namespace vadero {

enum class UiLanguage { French, English };

// "fr" or "en"; nothing for another name.
std::optional<UiLanguage> LanguageNamed(const std::string& name);

// From the environment: the first set of LANGUAGE (its first entry),
// LC_ALL, LC_MESSAGES and LANG.
UiLanguage DesktopLanguage(const std::function<const char*(const char* name)>& variable);

}  // namespace vadero
