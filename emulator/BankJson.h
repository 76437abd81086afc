#pragma once
// The register bank as a JSON text, so that successive runs can share one
// emulated calibrator: {"holding": [72 integers], "input": [integers]},
// holding register 0 and input register 0 first, and optionally
// "stuck": [addresses], the holding registers that writes leave unchanged.

#include <stdexcept>
#include <string>

#include "emulator/RegisterBank.h"

namespace vadero::emu {

// A bank text or file that cannot be read or written; what() says why.
class BankFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

std::string BankToJson(const RegisterBank& bank);
// Throws BankFileError for anything but a well-formed bank; values are
// integers from -32768 to 65535 (negative ones as 16-bit two's complement).
RegisterBank BankFromJson(const std::string& text);

RegisterBank LoadBankFile(const std::string& path);
// Writes a sibling file first and renames it, so a crash leaves the old file.
void SaveBankFile(const RegisterBank& bank, const std::string& path);

}  // namespace vadero::emu
