#pragma once
// The calibrator's parameter set as lcx3 prints, saves and changes it: pure
// functions over the register image.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "calibrator/LCXParams.h"

namespace vadero::cli {

// Registers 0 to 71 that read-all transfers.
bool IsTransferred(int address);
// Registers that write-all sends (and a verification compares).
bool IsWritten(int address);

std::string RangeLabel(int code);                          // empty for an unknown code
std::optional<int> RangeOfLabel(const std::string& text);  // a label or 0-5
std::string FilterText(int position);                      // "Off" or "8 s"

// The decoded values and "holding": 72 entries, null where not transferred.
nlohmann::json ParamsToJson(const TLCXParams& params);
std::string ParamsToText(const TLCXParams& params);

// The document of a backup file's text; throws UsageError for text that is
// no JSON or has an object with a key twice.
nlohmann::json ParseBackupText(const std::string& text);

// Reads the "holding" array of a backup into the image; throws UsageError
// for a document that lacks a transferred register, holds a value where a
// register is not transferred, or a value that register does not take.
void HoldingFromJson(const nlohmann::json& document, TLCXParams& params);

// KEY=VALUE changes, checked when parsed so that a bad one sends nothing.
class Settings {
  public:
    // Throws UsageError naming the bad setting.
    static Settings Parse(const std::vector<std::string>& keyValues);
    // Throws UsageError when the user format does not fit the digits.
    void Apply(TLCXParams& params) const;

  private:
    std::vector<std::function<void(TLCXParams&)>> changes_;
    std::optional<int> digits_;
    std::optional<int> decimals_;
};

}  // namespace vadero::cli
