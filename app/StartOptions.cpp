#include "app/StartOptions.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace vadero {

namespace {

// Options of the toolkit that the program passes on; the first ones take a value.
const std::vector<std::string> kToolkitValues = {"-platform",
                                                 "-platformpluginpath",
                                                 "-platformtheme",
                                                 "-plugin",
                                                 "-qwindowgeometry",
                                                 "-qwindowicon",
                                                 "-qwindowtitle",
                                                 "-display",
                                                 "-geometry",
                                                 "-style",
                                                 "-stylesheet",
                                                 "-session",
                                                 "-name",
                                                 "-title"};
const std::vector<std::string> kToolkitFlags = {"-reverse", "-widgetcount", "-nograb", "-dograb",
                                                "-sync"};

bool Holds(const std::vector<std::string>& list, const std::string& word) {
    return std::find(list.begin(), list.end(), word) != list.end();
}

std::string Help(const StartProgram& program) {
    std::string text = "Usage: " + program.name + " [OPTION]...\n" + program.summary + "\n\n";
    std::vector<StartOption> all = program.options;
    all.push_back({"help", "", "show this help and exit"});
    all.push_back({"version", "", "show the version and exit"});
    const auto left = [](const StartOption& o) {
        return "  --" + o.name + (o.valueName.empty() ? "" : " " + o.valueName);
    };
    std::size_t width = 22;  // the help in one column, however long an option
    for (const StartOption& o : all) width = std::max(width, left(o).size() + 2);
    for (const StartOption& o : all) {
        std::string line = left(o);
        line.resize(width, ' ');
        text += line + o.help + "\n";
    }
    text += "\nThe toolkit's own options (-platform NAME, -style NAME, ...) are passed on.\n";
    return text;
}

StartRequest Refuse(const StartProgram& program, const std::string& why) {
    StartRequest r;
    r.exit = true;
    r.code = 1;
    r.err = program.name + ": " + why + "\nTry '" + program.name + " --help'.\n";
    return r;
}

// One --name[=value] among the program's options, its value taken from the
// next argument when not joined; the refusal when it is wrong.
std::optional<StartRequest> ReadLongOption(const std::vector<std::string>& arguments,
                                           std::size_t& k, const StartProgram& program,
                                           StartRequest& r) {
    const std::string& a = arguments[k];
    const auto eq = a.find('=');
    const std::string name = a.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
    const auto option = std::find_if(program.options.begin(), program.options.end(),
                                     [&](const StartOption& o) { return o.name == name; });
    if (option == program.options.end())
        return Refuse(program, "unknown option '--" + name + "'");
    if (option->valueName.empty()) {
        if (eq != std::string::npos)
            return Refuse(program, "--" + name + " takes no value");
        r.values[name] = "";
    } else if (eq != std::string::npos) {
        r.values[name] = a.substr(eq + 1);
    } else if (k + 1 < arguments.size()) {
        r.values[name] = arguments[++k];
    } else {
        return Refuse(program, "--" + name + " needs a value " + option->valueName);
    }
    if (option->accepts && !option->accepts(r.values[name]))
        return Refuse(program, "--" + name + " takes " + option->valueName + ", not '" +
                                   r.values[name] + "'");
    return std::nullopt;
}

}  // namespace

StartOption LanguageOption() {
    return {"lang", "fr|en",
            "the window's language (default: the desktop's, English for en*, French otherwise)",
            [](const std::string& value) { return LanguageNamed(value).has_value(); }};
}

StartRequest ReadStartOptions(const std::vector<std::string>& arguments,
                              const StartProgram& program) {
    StartRequest r;
    for (std::size_t k = 1; k < arguments.size(); ++k) {
        const std::string& a = arguments[k];
        if (a == "--help" || a == "-h") {
            return {true, 0, Help(program), "", {}};
        }
        if (a == "--version") {
            return {true,
                    0,
                    program.name + " " + VADERO_VERSION + "\n" + VADERO_COPYRIGHT + "\n",
                    "",
                    {}};
        }
        if (a.rfind("--", 0) == 0) {
            if (auto refused = ReadLongOption(arguments, k, program, r))
                return *refused;
            continue;
        }
        const std::string word = a.substr(0, a.find('='));
        if (Holds(kToolkitFlags, a) || (Holds(kToolkitValues, word) && word != a))
            continue;
        if (Holds(kToolkitValues, a)) {
            if (++k == arguments.size())
                return Refuse(program, a + " needs a value");
            continue;
        }
        return Refuse(program, a.rfind('-', 0) == 0 ? "unknown option '" + a + "'"
                                                    : "unexpected argument '" + a + "'");
    }
    return r;
}

UiLanguage StartLanguage(const StartRequest& request) {
    if (const auto lang = request.values.find("lang"); lang != request.values.end())
        if (const auto named = LanguageNamed(lang->second))
            return *named;
    return DesktopLanguage([](const char* name) { return std::getenv(name); });
}

bool AnswerStart(const StartRequest& request) {
    std::fputs(request.out.c_str(), stdout);
    std::fputs(request.err.c_str(), stderr);
    std::fflush(stdout);
    return request.exit;
}

}  // namespace vadero
