#include "emulator/BankJson.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

namespace vadero::emu {

namespace {

using nlohmann::json;

std::vector<std::uint16_t> Registers(const json& root, const char* key, std::size_t least,
                                     std::size_t most) {
    const auto it = root.find(key);
    if (it == root.end())
        throw BankFileError(std::string("no \"") + key + "\" array");
    if (!it->is_array())
        throw BankFileError(std::string("\"") + key + "\" is not an array");
    if (it->size() < least || it->size() > most) {
        const std::string wanted = least == most
                                       ? std::to_string(least)
                                       : std::to_string(least) + " to " + std::to_string(most);
        throw BankFileError(std::string("\"") + key + "\" holds " + std::to_string(it->size()) +
                            " values instead of " + wanted);
    }
    std::vector<std::uint16_t> values;
    values.reserve(it->size());
    for (std::size_t i = 0; i < it->size(); ++i) {
        const json& v = (*it)[i];
        // Unsigned first: a huge unsigned value must not wrap into range.
        const bool unsignedValue = v.is_number_unsigned();
        const bool integer = v.is_number_integer();
        std::int64_t n = -65536;
        if (unsignedValue)
            n = v.get<std::uint64_t>() <= 65535 ? static_cast<std::int64_t>(v.get<std::uint64_t>())
                                                : -65536;
        else if (integer)
            n = v.get<std::int64_t>();
        if (n < -32768 || n > 65535)
            throw BankFileError(std::string("\"") + key + "\"[" + std::to_string(i) +
                                "] is not an integer from -32768 to 65535");
        values.push_back(static_cast<std::uint16_t>(n & 0xFFFF));
    }
    return values;
}

// The optional list of stuck holding registers, each named once.
std::array<bool, kHoldingCount> StuckRegisters(const json& root) {
    std::array<bool, kHoldingCount> stuck{};
    const auto it = root.find("stuck");
    if (it == root.end())
        return stuck;
    if (!it->is_array())
        throw BankFileError("\"stuck\" is not an array");
    for (std::size_t i = 0; i < it->size(); ++i) {
        const json& v = (*it)[i];
        const bool address = v.is_number_unsigned() && v.get<std::uint64_t>() < kHoldingCount;
        if (!address || stuck[v.get<std::size_t>()])
            throw BankFileError("\"stuck\"[" + std::to_string(i) +
                                "] is not a holding register from 0 to " +
                                std::to_string(kHoldingCount - 1) + " named once");
        stuck[v.get<std::size_t>()] = true;
    }
    return stuck;
}

}  // namespace

std::string BankToJson(const RegisterBank& bank) {
    json root;
    root["holding"] = bank.holding;
    root["input"] = bank.input;
    json stuck = json::array();
    for (int k = 0; k < kHoldingCount; ++k)
        if (bank.stuck[static_cast<std::size_t>(k)])
            stuck.push_back(k);
    if (!stuck.empty())  // an ordinary bank's file stays as it always was
        root["stuck"] = stuck;
    return root.dump() + "\n";
}

RegisterBank BankFromJson(const std::string& text) {
    const json root = json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (root.is_discarded())
        throw BankFileError("not a JSON text");
    if (!root.is_object())
        throw BankFileError("not a JSON object");
    RegisterBank bank;
    const auto holding = Registers(root, "holding", kHoldingCount, kHoldingCount);
    std::copy(holding.begin(), holding.end(), bank.holding.begin());
    bank.input = Registers(root, "input", 1, kMaxInputCount);
    bank.stuck = StuckRegisters(root);
    return bank;
}

RegisterBank LoadBankFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw BankFileError(path + ": cannot be opened");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw BankFileError(path + ": cannot be read");
    try {
        return BankFromJson(text.str());
    } catch (const BankFileError& e) {
        throw BankFileError(path + ": " + e.what());
    }
}

void SaveBankFile(const RegisterBank& bank, const std::string& path) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << BankToJson(bank);
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            throw BankFileError(path + ": cannot be written");
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw BankFileError(path + ": cannot be replaced");
    }
}

}  // namespace vadero::emu
