#include "cli/Options.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include <nlohmann/json.hpp>

#include "calibrator/Parameters.h"
#include "cli/CommandTable.h"
#include "cli/Completion.h"
#include "cli/ExitCodes.h"
#include "emulator/Faults.h"
#include "gateway/GatewayServer.h"

namespace vadero::cli {

namespace {

bool IsNumberFrom(const std::string& text, std::size_t digits, int least) {
    return !text.empty() && text.size() <= digits &&
           text.find_first_not_of("0123456789") == std::string::npos && std::stoi(text) >= least;
}

// CLI11's own number check answers "/dev/hidraw0" with a range up to 1.8e308.
const CLI::Validator kCalibratorNumber(
    [](const std::string& text) -> std::string {
        if (IsNumberFrom(text, 4, 1) || text == "all")
            return {};
        return "\"" + text +
               "\" is no calibrator number; give the N of \"lcx3 list\" (1 to 9999) or all, "
               "not a path";
    },
    "N|all");

const CLI::Validator kFault(
    [](const std::string& text) -> std::string {
        for (const std::string& kind : EmulatorFaults())
            if (text == kind)
                return {};
        if (text.rfind("stuck:", 0) == 0 && IsNumberFrom(text.substr(6), 2, 0) &&
            std::stoi(text.substr(6)) < TLCXParams::kCount)
            return {};
        if (emu::LateFaultDelay(text))
            return {};
        return "\"" + text +
               "\" is no fault; give off, unplugged, noisy, slow, stuck, stuck:N "
               "(N a holding register, 0 to " +
               std::to_string(TLCXParams::kCount - 1) + ") or late:MS (MS 1 to " +
               std::to_string(emu::kMaxLateMs) + ")";
    },
    "KIND");

std::string Words(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& w : words) text += (text.empty() ? "" : ", ") + w;
    return text;
}

std::string KeysHelp() {
    std::vector<std::pair<std::string, std::string>> rows;
    std::size_t width = 0;
    for (const Parameter& row : Parameters()) {
        const bool memory = row.key.rfind("mem-", 0) == 0;
        if (memory && row.key.back() != '1')
            continue;
        rows.emplace_back(memory ? row.key.substr(0, row.key.size() - 1) + "N" : row.key,
                          row.Accepts() + (memory ? " (N 1 to 8)" : ""));
        width = std::max(width, rows.back().first.size());
    }
    std::string text = "Keys (KEY=VALUE; range and formats take effect first):\n";
    for (const auto& [key, accepts] : rows)
        text += "  " + key + std::string(width + 2 - key.size(), ' ') + accepts + "\n";
    return text;
}

std::string ExamplesHelp() {
    std::string text = "Examples:\n";
    for (const Command& c : Commands()) text += "  " + c.example + "\n";
    text += "  lcx3 --emulate read            # the same against an emulated calibrator\n";
    text +=
        "\nExit status: 0 done; 1 bad usage or value, nothing sent; 2 no calibrator, or it "
        "went away;\n3 no answer; 4 verification found a difference; 5 a calibrator cannot "
        "be opened;\n6 the calibrator was read but the backup file or record could not be "
        "written;\n7 a "
        "loop check did not pass: a point out of tolerance, or stopped before its last.\n";
    return text;
}

struct Parser {
    CLI::App app{"lcx3: the LCX3 loop calibrator from the command line", "lcx3"};
    Options o;
    std::string pace = "tick";
    std::string device = "1";
    bool noVerify = false;
    CompletionHints hints;

    Parser() {
        app.require_subcommand(1);
        app.fallthrough();
        app.set_version_flag("--version",
                             std::string("lcx3 ") + VADERO_VERSION + "\n" + VADERO_COPYRIGHT);
        app.footer(ExamplesHelp());
        app.add_option("-d,--device", device,
                       "the N-th matching calibrator of lcx3 list, from 1, or all of them")
            ->check(kCalibratorNumber);
        app.add_flag("--all", o.allDevices, "every matching calibrator at once, as -d all");
        hints.values["--device"] = {"all"};
        app.add_flag("--emulate", o.emulate, "use the built-in emulated LCX3 instead of USB");
        app.add_option("--emulator-devices", o.emulatorDevices, "emulated calibrators attached")
            ->check(CLI::Range(1, 16));
        app.add_option("--emulator-state", o.emulatorState,
                       "JSON bank the emulator starts from and saves to");
        hints.files.insert("--emulator-state");
        app.add_option("--emulator-fault", o.emulatorFault,
                       Words(EmulatorFaults()) +
                           ", stuck:N (register N keeps its value) or late:MS (every answer MS "
                           "ms late)")
            ->check(kFault);
        hints.values["--emulator-fault"] = EmulatorFaults();
        app.add_flag("--trace", o.trace, "every frame sent or received, on stderr");
        app.add_flag("--json", o.json, "the result, or the failure, as one JSON document");
        app.add_option("--pace", pace, "tick (one step per 750 ms tick, the default) or fast")
            ->check(CLI::IsMember(Paces()));
        hints.values["--pace"] = Paces();
        app.add_option_function<std::string>(
               "--completion",
               [this](const std::string& shell) {
                   std::cout << CompletionScript(app, shell, hints);
                   throw CLI::Success();
               },
               "print the completion script of bash or zsh")
            ->check(CLI::IsMember({"bash", "zsh"}));
        hints.values["--completion"] = {"bash", "zsh"};
        for (const Command& c : Commands()) declare(c);
    }

    void declare(const Command& c) {
        CLI::App* sub = app.add_subcommand(c.name, c.summary);
        sub->footer("Example:\n  " + c.example + "\n");
        switch (c.operand) {
            case Operand::None:
                break;
            case Operand::File:
                sub->add_option("FILE", o.arguments, "the backup file")->required()->expected(1);
                break;
            case Operand::Settings:
                sub->add_option("SETTINGS", o.arguments, "KEY=VALUE ...")->required();
                sub->footer("Example:\n  " + c.example + "\n\n" + KeysHelp());
                break;
            case Operand::ValueUnit:
                sub->add_option("VALUE UNIT", o.arguments,
                                "UNIT: " + Words(OutputUnits()) + "; UNIT alone with --steps")
                    ->required()
                    ->expected(1, 2);
                sub->add_option("--steps", o.steps,
                                "a loop check: the points LIST (\"0,25,50,75,100\") one after "
                                "the other");
                sub->add_option("--dwell", o.dwell,
                                "seconds each point is held; without it, Enter moves on")
                    ->check(CLI::Range(0.0, 86400.0));
                sub->add_flag("--up-down", o.upDown, "then back down the same points");
                sub->add_option("--end", o.end, "the VALUE the output is left at when it ends");
                sub->add_flag("--csv", o.csv, "comma-separated rows under a header row");
                break;
        }
        if (c.verifies)
            sub->add_flag("--no-verify", noVerify, "skip reading back");
        if (c.name == "measure") {
            sub->add_flag("--watch", o.watch, "measure again and again, one line each");
            sub->add_option("--interval", o.interval,
                            "seconds from one measurement to the next (default 0.75, a tick)")
                ->check(CLI::Range(0.0, 86400.0));
            sub->add_option("--count", o.count, "stop after N measurements")
                ->check(CLI::Range(1, 100000000));
            sub->add_flag("--csv", o.csv, "comma-separated rows under a header row");
        }
        if (c.name == "check")
            DeclareCheck(*sub, o.check, hints);
        if (c.name == "serve") {
            sub->add_option("--listen", o.listen,
                            std::string("ADDRESS:PORT to listen on (default ") +
                                gateway::kDefaultListen + "; port 0: the system chooses)");
            sub->add_flag("--read-only", o.readOnly,
                          "refuse writes (functions 6 and 16) with exception 0x01");
        }
    }
};

bool AsksForJson(int argc, const char* const* argv) {
    for (int k = 1; k < argc; ++k)
        if (std::string(argv[k]) == "--json")
            return true;
    return false;
}

// A command line refused: the message, and its JSON document when asked for.
ParseOutcome Refused(const std::string& why, bool json) {
    std::cerr << "lcx3: " << why << "\n";
    if (json)
        std::cout << nlohmann::json{{"error", why}, {"status", kUsage}}.dump(2) << "\n";
    return {std::nullopt, kUsage};
}

}  // namespace

const std::vector<std::string>& Paces() {
    static const std::vector<std::string> paces = {"tick", "fast"};
    return paces;
}

const std::vector<std::string>& EmulatorFaults() {
    static const std::vector<std::string> faults = {"off", "unplugged", "noisy", "slow", "stuck"};
    return faults;
}

const std::vector<std::string>& OutputUnits() {
    static const std::vector<std::string> units = {"mA", "V", "%", "user"};
    return units;
}

ParseOutcome ParseOptions(int argc, const char* const* argv) {
    Parser parser;
    try {
        parser.app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
            return {std::nullopt, parser.app.exit(e)};
        return Refused(std::string(e.what()) + " (lcx3 --help tells more)",
                       AsksForJson(argc, argv));
    }
    Options o = parser.o;
    o.command = parser.app.get_subcommands().front()->get_name();
    if (parser.device == "all")
        o.allDevices = true;
    else
        o.device = std::stoi(parser.device);
    o.pace = parser.pace == "fast" ? Pace::Fast : Pace::Tick;
    o.verify = !parser.noVerify;
    const CLI::App* measure = parser.app.get_subcommand("measure");
    const bool watchOptions =
        measure->count("--interval") + measure->count("--count") + measure->count("--csv") > 0;
    const CLI::App* output = parser.app.get_subcommand("output");
    const bool stepOptions =
        output->count("--dwell") + output->count("--up-down") + output->count("--end") > 0 ||
        (output->count("--csv") > 0 && o.command == "output");
    if (stepOptions && o.steps.empty())
        return Refused("--dwell, --up-down, --end and --csv go with output --steps", o.json);
    if (o.command == "output" && o.arguments.size() != (o.steps.empty() ? 2u : 1u))
        return Refused(o.steps.empty() ? "output takes a VALUE and a UNIT"
                                       : "output --steps takes the UNIT only",
                       o.json);
    if (watchOptions && !o.watch)
        return Refused("--interval, --count and --csv go with measure --watch", o.json);
    if (o.allDevices && o.command == "list")
        return Refused("list shows every calibrator already; -d all is for the other commands",
                       o.json);
    if (!o.emulate && (!o.emulatorState.empty() || !o.emulatorFault.empty() ||
                       parser.app.count("--emulator-devices") > 0)) {
        return Refused("the --emulator-* options need --emulate", o.json);
    }
    return {o, kOk};
}

}  // namespace vadero::cli
