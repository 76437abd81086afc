#pragma once
// The calibrator's parameters as lcx3 names, prints and changes them: one row
// per `set` key, with its registers, limits, parser, change and display.

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "calibrator/LCXParams.h"
#include "calibrator/RangeLabels.h"

namespace vadero {

// The memory tables as set keys and backups name them, by table code.
struct MemoryTable {
    const char* name;  // "020mA"
    const char* unit;  // of its values
};
inline constexpr std::array<MemoryTable, reg::kMemory1.size()> kMemoryTables{{
    {"020mA", "mA"},
    {"420mA", "mA"},
    {"010V", "V"},
}};

std::string FilterText(int position);  // "Off" or "8 s"
// The decimals of mA and V values that the calibrator's setting (register 9) gives.
int OutputDecimalCount(const TLCXParams& params);

// A number typed on the command line: decimal digits, an optional leading
// "-", a fraction and exponent unless `integer`; no blanks, "+" or
// hexadecimal, and the same in every locale. Throws InputError starting
// with `what` for another text or a value outside low..high.
double ParseNumber(const std::string& what, const std::string& text, double low, double high,
                   bool integer);

// Set keys take effect in this order, whatever the order given: the range
// and the formats first, so that values in a unit use the final ones.
enum class Phase { Shape, Value };

// The parsed values of one `set`, by key.
using Given = std::map<std::string, double>;

struct Parameter {
    std::string key;
    int first = 0;  // its registers
    int count = 1;
    Phase phase = Phase::Value;
    std::string unit;                  // after a value: "s", "%", "mA", "V"
    std::vector<std::string> choices;  // a value is the index of its word
    double low = 0;                    // a number's limits, as set takes it
    double high = 0;
    bool integer = true;
    // The register holds nothing beyond the limits: a backup beyond them is refused.
    bool strict = false;
    // Raw counts (levels, memories): what set writes lies within 0 to 110 %.
    bool raw = false;
    std::function<double(const TLCXParams&)> get;
    std::function<void(TLCXParams&, double, const Given&)> set;
    std::function<std::string(const TLCXParams&)> show;  // as the window shows it

    std::string Accepts() const;                  // "0 to 16", "on, off"
    double Parse(const std::string& text) const;  // throws InputError
    // Whether the image holds what set or the window would write.
    bool Usual(const TLCXParams& params) const;
};

// Every parameter, in the order they take effect and print.
const std::vector<Parameter>& Parameters();
const Parameter* FindParameter(const std::string& key);
// The parameter a register belongs to; nullptr for registers 0 and 10.
const Parameter* ParameterOfRegister(int address);

// `read` for a person: "parameter  value" in aligned columns.
std::string ParamsToText(const TLCXParams& params);

// KEY=VALUE changes, checked when parsed so that a bad one sends nothing.
class Settings {
  public:
    // Throws InputError naming the bad setting.
    static Settings Parse(const std::vector<std::string>& keyValues);
    // Throws InputError for a change the final parameters refuse (a user
    // format that does not fit its digits, loop power in a range without it).
    void Apply(TLCXParams& params) const;
    const Given& Values() const { return given_; }

  private:
    Given given_;
};

}  // namespace vadero
