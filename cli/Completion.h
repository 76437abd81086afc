#pragma once
// Shell completion scripts of lcx3, made from its parser, its commands and
// its set keys, so that they never fall behind what lcx3 takes.

#include <map>
#include <set>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace vadero::cli {

// What the parser itself does not say about an option's value.
struct CompletionHints {
    std::map<std::string, std::vector<std::string>> values;  // by long name
    std::set<std::string> files;
};

// The script for "bash" or "zsh".
std::string CompletionScript(const CLI::App& app, const std::string& shell,
                             const CompletionHints& hints);

}  // namespace vadero::cli
