// Texts fed to the emulator's bank file reader. Aborts when anything but
// BankFileError escapes, when an accepted bank holds other values than the
// text's integers, or when a bank does not read back from its own text.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <nlohmann/json.hpp>

#include "emulator/BankJson.h"
#include "fuzz/FuzzCheck.h"

namespace {

// The integer a JSON value holds, when it is one from -32768 to 65535.
bool InRange(const nlohmann::json& v, std::uint16_t& word) {
    if (v.is_number_unsigned()) {
        if (v.get<std::uint64_t>() > 65535)
            return false;
        word = static_cast<std::uint16_t>(v.get<std::uint64_t>());
        return true;
    }
    if (!v.is_number_integer())
        return false;
    const std::int64_t n = v.get<std::int64_t>();
    if (n < -32768 || n > 65535)
        return false;
    word = static_cast<std::uint16_t>(n & 0xFFFF);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    vadero::emu::RegisterBank bank;
    try {
        bank = vadero::emu::BankFromJson(text);
    } catch (const vadero::emu::BankFileError& e) {
        FUZZ_CHECK(e.what()[0] != '\0');
        return 0;
    }

    // Accepted: the text is an object whose two arrays hold exactly these values.
    const auto root = nlohmann::json::parse(text, nullptr, false);
    FUZZ_CHECK(!root.is_discarded() && root.is_object());
    const auto& holding = root.at("holding");
    const auto& input = root.at("input");
    FUZZ_CHECK(holding.size() == bank.holding.size());
    FUZZ_CHECK(input.size() == bank.input.size());
    FUZZ_CHECK(!bank.input.empty() && bank.input.size() <= vadero::emu::kMaxInputCount);
    for (std::size_t i = 0; i < bank.holding.size(); ++i) {
        std::uint16_t word = 0;
        FUZZ_CHECK(InRange(holding[i], word) && word == bank.holding[i]);
    }
    for (std::size_t i = 0; i < bank.input.size(); ++i) {
        std::uint16_t word = 0;
        FUZZ_CHECK(InRange(input[i], word) && word == bank.input[i]);
    }

    // Saved and loaded again, the bank is the same, and so is its text.
    const std::string saved = vadero::emu::BankToJson(bank);
    const vadero::emu::RegisterBank again = vadero::emu::BankFromJson(saved);
    FUZZ_CHECK(again == bank);
    FUZZ_CHECK(vadero::emu::BankToJson(again) == saved);
    return 0;
}
