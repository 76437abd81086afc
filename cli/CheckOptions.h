#pragma once
// The options of lcx3 check as typed; CheckLoopCheck (cli/CheckCommand.h)
// turns them into a checked plan.

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace vadero::cli {

struct CompletionHints;

struct CheckArguments {
    std::string tag;
    std::string instrument;
    std::string mode = "source";
    std::string points = "0,25,50,75,100";
    bool upDown = false;
    std::string tolerance = "0.25";
    bool asFound = false;
    bool asLeft = false;
    std::string technician;
    std::string loop;
    std::string readings;
    std::string record = ".";
    std::string dwell = "0";
    std::string samples = "1";
    std::vector<std::string> compare;  // AS-FOUND.json AS-LEFT.json
};

void DeclareCheck(CLI::App& command, CheckArguments& arguments, CompletionHints& hints);

}  // namespace vadero::cli
