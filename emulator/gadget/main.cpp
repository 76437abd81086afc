// lcx3-emulator: the emulated LCX3 behind a USB HID gadget function, so that
// a machine with a USB device port (or the kernel's dummy controller) stands
// in for a calibrator on a real USB cable.
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "emulator/BankJson.h"
#include "emulator/Faults.h"
#include "emulator/gadget/GadgetReports.h"
#include "emulator/gadget/GadgetServer.h"
#include "transport/Identity.h"

namespace {

using namespace vadero;

enum Exit : int { kStopped = 0, kUsage = 1, kNodeFailed = 2 };

struct Options {
    std::string gadget;
    std::string state;
    std::string fault;
    bool descriptor = false;
    std::string identity;  // --usb-identity: the attribute to print
};

// The calibrator's identity as the gadget's configfs attributes take it,
// without a newline (the product string keeps its trailing blanks).
int WriteIdentity(const std::string& attribute) {
    char id[8];
    std::string text;
    if (attribute == "idVendor" || attribute == "idProduct") {
        std::snprintf(id, sizeof id, "0x%04x",
                      unsigned(attribute == "idVendor" ? lcx3::kVendorId : lcx3::kProductId));
        text = id;
    } else {
        text = attribute == "manufacturer" ? lcx3::kManufacturer : lcx3::kProduct;
    }
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? kStopped : kUsage;
}

int WriteDescriptor() {
    // One write: configfs takes the attribute from a single write.
    const auto bytes = emu::GadgetReportDescriptor();
    return ::write(STDOUT_FILENO, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size())
               ? kStopped
               : kUsage;
}

void Apply(const std::string& fault, emu::EmulatedLcx3& device) {
    device.SetFaults(emu::LineFaultsNamed(fault));
    device.SetSeed(std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
    if (fault == "off")
        device.PowerOff();
}

bool Save(const emu::RegisterBank& bank, const std::string& path) {
    if (path.empty())
        return true;
    try {
        emu::SaveBankFile(bank, path);
        return true;
    } catch (const emu::BankFileError& e) {
        std::fprintf(stderr, "lcx3-emulator: state not saved: %s\n", e.what());
        return false;
    }
}

// The signals that end the run, as a descriptor the server can wait on.
vadero::UniqueFd StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, s);
    // Blocked before any thread starts, so only the descriptor receives them.
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    vadero::UniqueFd fd(::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK));
    if (!fd)
        throw std::system_error(errno, std::generic_category(), "signalfd");
    return fd;
}

int Serve(const Options& o) {
    emu::EmuClock clock(emu::EmuClock::Kind::Real);
    emu::DeviceOptions identity;
    identity.plugged = false;  // until a host configures the function
    if (!o.state.empty() && std::filesystem::exists(o.state)) {
        try {
            identity.bank = emu::LoadBankFile(o.state);
        } catch (const emu::BankFileError& e) {
            std::fprintf(stderr, "lcx3-emulator: state: %s\n", e.what());
            return kUsage;
        }
    }
    emu::EmulatedLcx3 device(clock, o.gadget, identity);
    Apply(o.fault, device);
    if (!Save(device.Bank(), o.state))
        return kUsage;

    const vadero::UniqueFd stop = StopSignals();
    std::unique_ptr<emu::GadgetNode> node;
    try {
        node = std::make_unique<emu::GadgetNode>(emu::GadgetNode::OpenPath(o.gadget));
    } catch (const std::system_error& e) {
        std::fprintf(stderr, "lcx3-emulator: %s\n", e.what());
        return kNodeFailed;
    }
    emu::ServeOptions serve;
    serve.bankChanged = [&o](const emu::RegisterBank& bank) { Save(bank, o.state); };
    emu::GadgetServer server(device, clock, *node, serve);
    std::fprintf(stderr, "lcx3-emulator: serving %s\n", o.gadget.c_str());
    const bool stopped = server.Run(stop.get());

    const emu::DeviceStats stats = device.Stats();
    std::fprintf(stderr,
                 "lcx3-emulator: %s; %llu requests heard, %llu answered, %llu data reports\n",
                 stopped ? "stopped" : "the gadget node is gone",
                 static_cast<unsigned long long>(stats.requests),
                 static_cast<unsigned long long>(stats.answers),
                 static_cast<unsigned long long>(stats.dataReports));
    const bool saved = Save(device.Bank(), o.state);
    if (!stopped)
        return kNodeFailed;
    return saved ? kStopped : kUsage;
}

}  // namespace

namespace {

int Run(int argc, char** argv) {
    CLI::App app{"lcx3-emulator: the emulated LCX3 behind a USB HID gadget function",
                 "lcx3-emulator"};
    Options o;
    auto* gadget = app.add_option("--gadget", o.gadget, "the gadget's HID node, e.g. /dev/hidg0");
    app.add_option("--state", o.state,
                   "JSON bank to start from when it exists; kept up to date with every change");
    app.add_option("--fault", o.fault,
                   "off (powered off), noisy, slow or late:MS (every answer MS ms late)")
        ->check(CLI::Validator(
            [](const std::string& text) -> std::string {
                if (text == "off" || text == "noisy" || text == "slow" || emu::LateFaultDelay(text))
                    return {};
                return "\"" + text + "\" is no fault; give off, noisy, slow or late:MS (MS 1 to " +
                       std::to_string(emu::kMaxLateMs) + ")";
            },
            "KIND"));
    app.add_flag("--report-descriptor", o.descriptor,
                 "write the gadget's report descriptor to stdout and exit")
        ->excludes(gadget);
    app.add_option("--usb-identity", o.identity,
                   "write the calibrator's idVendor, idProduct, manufacturer or product to "
                   "stdout, as the gadget takes it, and exit")
        ->check(CLI::IsMember({"idVendor", "idProduct", "manufacturer", "product"}))
        ->excludes(gadget);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kStopped : kUsage;
    }
    if (o.descriptor)
        return WriteDescriptor();
    if (!o.identity.empty())
        return WriteIdentity(o.identity);
    if (o.gadget.empty()) {
        std::fprintf(stderr, "lcx3-emulator: --gadget DEV is required\n");
        return kUsage;
    }
    try {
        return Serve(o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lcx3-emulator: %s\n", e.what());
        return kNodeFailed;
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Nothing escapes: a failure of the option parser's own set-up is a message too.
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lcx3-emulator: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "lcx3-emulator: unexpected failure\n");
    }
    return kNodeFailed;
}
