#include "cli/Options.h"

#include <CLI/CLI.hpp>

#include "cli/ExitCodes.h"

namespace vadero::cli {

ParseOutcome ParseOptions(int argc, const char* const* argv) {
    CLI::App app{"lcx3: the LCX3 loop calibrator from the command line", "lcx3"};
    app.require_subcommand(1);
    app.fallthrough();
    app.set_version_flag("--version", std::string("lcx3 ") + VADERO_VERSION);
    Options o;
    std::string pace = "spec";
    bool noVerify = false;
    // CLI11's own number check answers "/dev/hidraw0" with a range up to 1.8e308.
    const CLI::Validator calibratorNumber(
        [](const std::string& text) -> std::string {
            const bool digits = !text.empty() && text.size() <= 4 &&
                                text.find_first_not_of("0123456789") == std::string::npos;
            if (digits && std::stoi(text) >= 1)
                return {};
            return "\"" + text +
                   "\" is no calibrator number; give the N of \"lcx3 list\" (1 to 9999), "
                   "not a path";
        },
        "N");
    app.add_option("-d,--device", o.device, "the N-th matching calibrator, 1-based")
        ->check(calibratorNumber);
    app.add_flag("--emulate", o.emulate, "use the built-in emulated LCX3 instead of USB");
    app.add_option("--emulator-devices", o.emulatorDevices, "emulated calibrators attached")
        ->check(CLI::Range(1, 16));
    app.add_option("--emulator-state", o.emulatorState,
                   "JSON bank the emulator starts from "
                   "and saves to");
    app.add_option("--emulator-fault", o.emulatorFault, "off, unplugged, noisy or slow")
        ->check(CLI::IsMember({"off", "unplugged", "noisy", "slow"}));
    app.add_flag("--trace", o.trace, "every frame sent or received on stderr");
    app.add_flag("--json", o.json, "the result as one JSON document");
    app.add_option("--pace", pace, "spec (750 ms tick) or fast")
        ->check(CLI::IsMember({"spec", "fast"}));

    app.add_subcommand("list", "the matching calibrators and those that cannot be opened");
    app.add_subcommand("read", "read every parameter");
    app.add_subcommand("backup", "read every parameter into FILE")
        ->add_option("FILE", o.arguments)
        ->required()
        ->expected(1);
    auto* restore = app.add_subcommand("restore", "write the parameters of FILE, then verify");
    restore->add_option("FILE", o.arguments)->required()->expected(1);
    restore->add_flag("--no-verify", noVerify, "skip reading back");
    auto* set = app.add_subcommand("set", "change parameters, write them, verify");
    set->add_option("SETTINGS", o.arguments, "KEY=VALUE ...")->required();
    set->add_flag("--no-verify", noVerify, "skip reading back");
    app.add_subcommand("output", "command the output value (UNIT: mA, V, %, user)")
        ->add_option("VALUE UNIT", o.arguments)
        ->required()
        ->expected(2);
    app.add_subcommand("measure", "read the measurement");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int shown = app.exit(e);
        return {std::nullopt, shown == 0 ? kOk : kUsage};
    }
    o.command = app.get_subcommands().front()->get_name();
    o.pace = pace == "fast" ? Pace::Fast : Pace::Tick;
    o.verify = !noVerify;
    if (!o.emulate && (!o.emulatorState.empty() || !o.emulatorFault.empty() ||
                       app.count("--emulator-devices") > 0)) {
        std::fprintf(stderr, "lcx3: the --emulator-* options need --emulate\n");
        return {std::nullopt, kUsage};
    }
    return {o, kOk};
}

}  // namespace vadero::cli
