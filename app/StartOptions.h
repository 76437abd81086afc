#pragma once
// The command line of vadero and vadero-demo, read before the toolkit starts
// (which needs a display): --help and --version answer on stdout, an unknown
// option is refused on stderr, and the toolkit's own options pass on.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/Language.h"

namespace vadero {

struct StartOption {
    std::string name;       // "devices", given as --devices
    std::string valueName;  // "N"; empty for a flag
    std::string help;
    // The values it takes; any when not set.
    std::function<bool(const std::string& value)> accepts = nullptr;
};

// The window's --lang option, shared by both programs.
StartOption LanguageOption();

struct StartProgram {
    std::string name;  // "vadero"
    std::string summary;
    std::vector<StartOption> options;
};

struct StartRequest {
    bool exit = false;  // answered or refused: the program ends with `code`
    int code = 0;
    std::string out;                            // for stdout
    std::string err;                            // for stderr
    std::map<std::string, std::string> values;  // options given, by name; "" for a flag
};

StartRequest ReadStartOptions(const std::vector<std::string>& arguments,
                              const StartProgram& program);

// The language --lang names, or else the desktop's locale.
UiLanguage StartLanguage(const StartRequest& request);

// Prints the answer and returns true when the program should end with request.code.
bool AnswerStart(const StartRequest& request);

}  // namespace vadero
