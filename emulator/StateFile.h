#pragma once
// An emulated calibrator's registers kept in a file between runs (lcx3
// --emulate, vadero-demo): the bank is loaded from the file when it exists,
// and saved back at the end. The file's stuck registers are kept as the file
// had them: one run's faults never reach it.

#include <array>
#include <string>

#include "emulator/EmulatedLcx3.h"

namespace vadero::emu {

class StateFile {
  public:
    // Throws BankFileError for a file that exists and is refused; the
    // device then keeps its bank.
    StateFile(EmulatedLcx3& device, std::string path);

    const std::string& Path() const { return path_; }
    // Throws BankFileError when the file cannot be written.
    void Save() const;

  private:
    EmulatedLcx3& device_;
    const std::string path_;
    std::array<bool, kHoldingCount> savedStuck_{};
};

}  // namespace vadero::emu
