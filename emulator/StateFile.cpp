#include "emulator/StateFile.h"

#include <filesystem>

#include "emulator/BankJson.h"

namespace vadero::emu {

StateFile::StateFile(EmulatedLcx3& device, std::string path)
    : device_(device), path_(std::move(path)) {
    if (std::filesystem::exists(path_))
        device_.LoadBank(path_);
    savedStuck_ = device_.Bank().stuck;
}

void StateFile::Save() const {
    RegisterBank bank = device_.Bank();
    bank.stuck = savedStuck_;
    SaveBankFile(bank, path_);
}

}  // namespace vadero::emu
