#include "cli/Completion.h"

#include <CLI/CLI.hpp>

#include "calibrator/Parameters.h"
#include "cli/CommandTable.h"
#include "cli/Options.h"

namespace vadero::cli {

namespace {

struct Flag {
    std::vector<std::string> names;  // "-d", "--device"
    std::string help;
    bool takesValue = false;
};

std::vector<Flag> FlagsOf(const CLI::App& app) {
    std::vector<Flag> flags;
    for (const CLI::Option* opt : app.get_options()) {
        Flag f;
        for (const std::string& s : opt->get_snames()) f.names.push_back("-" + s);
        for (const std::string& l : opt->get_lnames()) f.names.push_back("--" + l);
        if (f.names.empty())
            continue;  // an operand
        f.help = opt->get_description();
        f.takesValue = opt->get_type_size() != 0;
        flags.push_back(f);
    }
    return flags;
}

std::string Joined(const std::vector<std::string>& words, const char* between = " ") {
    std::string text;
    for (const std::string& w : words) text += (text.empty() ? "" : between) + w;
    return text;
}

std::string NamesOf(const std::vector<Flag>& flags) {
    std::vector<std::string> names;
    for (const Flag& f : flags) names.insert(names.end(), f.names.begin(), f.names.end());
    return Joined(names);
}

std::vector<std::string> KeyValues(const Parameter& row) {
    if (row.key == "range")
        return {"0", "1", "2", "3", "4", "5"};  // the labels hold blanks
    return row.choices;
}

std::string Bash(const CLI::App& app, const CompletionHints& hints) {
    std::vector<std::string> commands;
    std::vector<std::string> verifying;
    for (const Command& c : Commands()) {
        commands.push_back(c.name);
        if (c.verifies)
            verifying.push_back(c.name);
    }
    std::string s = "# bash completion of lcx3, made by lcx3 --completion bash\n";
    s += "_lcx3_setting() {\n    local key value\n";
    s += "    if [[ $cur == = || $prev == = ]]; then  # bash breaks the word at =\n";
    s += "        [[ $cur == = ]] && { key=$prev; value=; } || { key=${COMP_WORDS[COMP_CWORD-2]}; "
         "value=$cur; }\n";
    s += "    elif [[ $cur == *=* ]]; then\n        key=${cur%%=*}; value=${cur#*=}; "
         "local prefix=$key=\n";
    s +=
        "    else\n        compopt -o nospace 2>/dev/null\n        COMPREPLY=($(compgen -S = -W \"";
    std::vector<std::string> keys;
    for (const Parameter& row : Parameters()) keys.push_back(row.key);
    s += Joined(keys) + "\" -- \"$cur\"))\n        return\n    fi\n    case $key in\n";
    for (const Parameter& row : Parameters())
        if (const auto values = KeyValues(row); !values.empty())
            s += "        " + row.key + ") COMPREPLY=($(compgen -P \"${prefix-}\" -W \"" +
                 Joined(values) + "\" -- \"$value\")) ;;\n";
    s += "    esac\n}\n\n";
    s += "_lcx3() {\n    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n";
    s += "    local command= operands=0 i\n";
    s += "    for ((i = 1; i < COMP_CWORD; i++)); do\n        case ${COMP_WORDS[i]} in\n";
    s += "            " + Joined(commands, "|") +
         ") [[ -z $command ]] && { command=${COMP_WORDS[i]}; "
         "continue; } ;;\n";
    s += "        esac\n        [[ -n $command && ${COMP_WORDS[i]} != -* ]] && ((operands++))\n"
         "    done\n";
    s += "    case $prev in\n";
    for (const Flag& f : FlagsOf(app)) {
        if (!f.takesValue)
            continue;
        const std::string& name = f.names.back();
        std::string reply = "return";  // a number: nothing to offer
        if (hints.files.count(name) != 0)
            reply = "COMPREPLY=($(compgen -f -- \"$cur\")); return";
        else if (const auto it = hints.values.find(name); it != hints.values.end())
            reply = "COMPREPLY=($(compgen -W \"" + Joined(it->second) + "\" -- \"$cur\")); return";
        s += "        " + Joined(f.names, "|") + ") " + reply + " ;;\n";
    }
    s += "    esac\n";
    s += "    if [[ $cur == -* ]]; then\n        case $command in\n";
    s += "            '') COMPREPLY=($(compgen -W \"" + NamesOf(FlagsOf(app)) +
         "\" -- \"$cur\")) ;;\n";
    s += "            " + Joined(verifying, "|") +
         ") COMPREPLY=($(compgen -W \"--no-verify --help\" -- \"$cur\")) ;;\n";
    s += "            *) COMPREPLY=($(compgen -W \"--help\" -- \"$cur\")) ;;\n        esac\n"
         "        return\n    fi\n";
    s += "    case $command in\n";
    s += "        '') COMPREPLY=($(compgen -W \"" + Joined(commands) + "\" -- \"$cur\")) ;;\n";
    for (const Command& c : Commands()) {
        if (c.operand == Operand::File)
            s += "        " + c.name + ") COMPREPLY=($(compgen -f -- \"$cur\")) ;;\n";
        if (c.operand == Operand::Settings)
            s += "        " + c.name + ") _lcx3_setting ;;\n";
        if (c.operand == Operand::ValueUnit)
            s += "        " + c.name + ") ((operands == 1)) && COMPREPLY=($(compgen -W \"" +
                 Joined(OutputUnits()) + "\" -- \"$cur\")) ;;\n";
    }
    s += "    esac\n}\ncomplete -F _lcx3 lcx3\n";
    return s;
}

// A text inside a single-quoted zsh completion item: no quote, colon or bracket left bare.
std::string Z(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\'')
            out += "'\\''";
        else if (c == ':' || c == '[' || c == ']')
            out += std::string("\\") + c;
        else
            out += c;
    }
    return out;
}

std::string Zsh(const CLI::App& app, const CompletionHints& hints) {
    std::string s = "#compdef lcx3\n# zsh completion of lcx3, made by lcx3 --completion zsh\n";
    s += "_lcx3() {\n  local curcontext=$curcontext state line ret=1\n";
    s += "  local -a commands settings\n  commands=(\n";
    for (const Command& c : Commands()) s += "    '" + c.name + ":" + Z(c.summary) + "'\n";
    s += "  )\n  settings=(\n";
    for (const Parameter& row : Parameters()) {
        const auto values = KeyValues(row);
        s += "    '" + row.key + "[" + Z(row.Accepts()) + "]:" + row.key + ":" +
             (values.empty() ? "" : "(" + Joined(values) + ")") + "'\n";
    }
    s += "  )\n  _arguments -C \\\n";
    for (const Flag& f : FlagsOf(app)) {
        const std::string& name = f.names.back();
        std::string action;
        if (f.takesValue) {
            action = ":" + name.substr(2) + ":";
            if (hints.files.count(name) != 0)
                action += "_files";
            else if (const auto it = hints.values.find(name); it != hints.values.end())
                action += "(" + Joined(it->second) + ")";
        }
        const bool ends = name == "--help" || name == "--version" || name == "--completion";
        const std::string exclusion = ends                 ? "(- *)"
                                      : f.names.size() > 1 ? "(" + Joined(f.names) + ")"
                                                           : "";
        const std::string names = f.names.size() > 1
                                      ? "'" + exclusion + "'{" + Joined(f.names, ",") + "}'"
                                      : "'" + exclusion + name;
        s += "    " + names + "[" + Z(f.help) + "]" + action + "' \\\n";
    }
    s += "    '1:command:->command' '*::argument:->argument' && ret=0\n";
    s += "  case $state in\n    command) _describe -t commands 'lcx3 command' commands && ret=0 "
         ";;\n";
    s += "    argument)\n      case $words[1] in\n";
    for (const Command& c : Commands()) {
        std::string arguments = c.verifies ? "'--no-verify[skip reading back]' " : "";
        if (c.operand == Operand::File)
            arguments += "'1:backup file:_files'";
        else if (c.operand == Operand::Settings)
            arguments += "'*:setting:_lcx3_settings'";
        else if (c.operand == Operand::ValueUnit)
            arguments += "'1:value:' '2:unit:(" + Z(Joined(OutputUnits())) + ")'";
        if (!arguments.empty())
            s += "        " + c.name + ") _arguments " + arguments + " && ret=0 ;;\n";
    }
    s += "      esac ;;\n  esac\n  return ret\n}\n";
    s += "_lcx3_settings() {\n  _values -S = setting $settings\n}\n";
    s += "_lcx3 \"$@\"\n";
    return s;
}

}  // namespace

std::string CompletionScript(const CLI::App& app, const std::string& shell,
                             const CompletionHints& hints) {
    return shell == "zsh" ? Zsh(app, hints) : Bash(app, hints);
}

}  // namespace vadero::cli
