#include "cli/Backend.h"

#include <cstdio>

#include "cli/ExitCodes.h"
#include "emulator/BankJson.h"
#include "transport/hidraw/HidrawLayer.h"

namespace vadero::cli {

Backend::Backend(const Options& o) {
    if (!o.emulate) {
        hid_ = std::make_unique<HidrawLayer>();
        return;
    }
    auto emulator = std::make_unique<emu::EmulatorHid>(emu::EmulatorHid::Time::Real);
    const emu::Faults faults = emu::LineFaultsNamed(o.emulatorFault);
    for (int k = 1; k <= o.emulatorDevices; ++k) {
        emu::EmulatedLcx3& device = emulator->AddDevice();
        device.SetSeed(std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
        device.SetFaults(faults);
        if (o.emulatorFault == "off")
            device.PowerOff();
        if (o.emulatorFault == "unplugged")
            device.Unplug();
    }
    if (!o.emulatorState.empty() && o.device <= o.emulatorDevices) {
        try {
            state_ = std::make_unique<emu::StateFile>(emulator->Device(o.device), o.emulatorState);
        } catch (const emu::BankFileError& e) {
            throw UsageError(std::string("emulator state: ") + e.what());
        }
    }
    // A register that keeps its value, on the calibrator addressed; a fault
    // of this run only, never saved with the state.
    if (o.emulatorFault.rfind("stuck", 0) == 0 && o.device <= o.emulatorDevices) {
        const int address =
            o.emulatorFault == "stuck" ? kStuckByDefault : std::stoi(o.emulatorFault.substr(6));
        emu::EmulatedLcx3& device = emulator->Device(o.device);
        emu::RegisterBank bank = device.Bank();
        bank.stuck[std::size_t(address)] = true;
        device.SetBank(bank);
    }
    emulator_ = emulator.get();
    hid_ = std::move(emulator);
}

bool Backend::SaveState() const {
    if (!state_)
        return true;
    try {
        state_->Save();
        return true;
    } catch (const emu::BankFileError& e) {
        std::fprintf(stderr, "lcx3: emulator state not saved: %s\n", e.what());
        return false;
    }
}

}  // namespace vadero::cli
