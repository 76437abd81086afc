// Texts fed to what lcx3 restore does with its backup file: the JSON parse
// and the "holding" array read into the parameter image. Aborts when anything
// escapes but the parse error or UsageError that restore reports, when the
// image gets other values than the backup's integers or changes outside the
// transferred registers, or when the parameters do not print, back up and
// restore again to the same image.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <nlohmann/json.hpp>

#include "calibrator/Backup.h"
#include "calibrator/InputError.h"
#include "calibrator/Parameters.h"
#include "fuzz/FuzzCheck.h"

namespace {

using vadero::RegisterImage;
using vadero::TLCXParams;

// The word a backup value stands for: lcx3 takes only integers from 0 to 65535
// (each register then narrows that to its own limits).
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
    if (n < 0 || n > 65535)
        return false;
    word = static_cast<std::uint16_t>(n & 0xFFFF);
    return true;
}

RegisterImage Patterned() {
    RegisterImage image{};
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint16_t>(0x5AA5 ^ (i * 977u));
    return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    nlohmann::json document;
    try {
        document = nlohmann::json::parse(data, data + size);
    } catch (const nlohmann::json::exception&) {
        return 0;  // "is no JSON document"
    }

    const RegisterImage before = Patterned();
    RegisterImage image = before;
    TLCXParams params{image};
    try {
        vadero::HoldingFromJson(document, params);
    } catch (const vadero::InputError&) {
        FUZZ_CHECK(image == before);  // a refused backup changes nothing
        return 0;
    }

    const auto& holding = document.at("holding");
    FUZZ_CHECK(holding.is_array() && holding.size() == TLCXParams::kCount);
    for (int k = 0; k < static_cast<int>(image.size()); ++k) {
        const auto at = static_cast<std::size_t>(k);
        if (!vadero::IsTransferred(k)) {
            FUZZ_CHECK(image[at] == before[at]);
            continue;
        }
        std::uint16_t word = 0;
        FUZZ_CHECK(InRange(holding[at], word));
        FUZZ_CHECK(image[at] == word);
    }

    // Whatever the registers hold, they print, and their backup restores them.
    const std::string text = vadero::ParamsToText(params);
    FUZZ_CHECK(!text.empty());
    const std::string backup = vadero::ParamsToJson(params).dump(2) + "\n";
    RegisterImage restored = Patterned();
    TLCXParams again{restored};
    vadero::HoldingFromJson(nlohmann::json::parse(backup), again);
    FUZZ_CHECK(restored == image);
    return 0;
}
