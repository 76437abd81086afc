#include "check/Readings.h"

#include <utility>

#include "calibrator/InputError.h"
#include "calibrator/Parameters.h"

namespace vadero::check {

namespace {

constexpr double kLargest = 1e30;

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool IsNumber(const std::string& text) {
    try {
        ParseNumber("", text, -kLargest, kLargest, false);
        return true;
    } catch (const InputError&) {
        return false;
    }
}

}  // namespace

Readings ParseReadings(const std::string& text, const std::string& name) {
    Readings readings;
    bool first = true;  // the first row that is not blank may be a header
    std::size_t from = 0;
    for (int row = 1; from < text.size(); ++row) {
        const std::size_t newline = text.find('\n', from);
        const std::string line = Trimmed(text.substr(from, newline - from));
        from = newline == std::string::npos ? text.size() : newline + 1;
        if (line.empty() || line[0] == '#')
            continue;
        const std::string where = name + ", row " + std::to_string(row);
        const bool header = std::exchange(first, false);
        const std::size_t comma = line.find(',');
        std::string value = Trimmed(line.substr(comma == std::string::npos ? 0 : comma + 1));
        if (comma != std::string::npos) {
            const std::string point = Trimmed(line.substr(0, comma));
            if (header && !IsNumber(point))
                continue;  // the header
            if (value.find(',') != std::string::npos)
                throw InputError(where + ": more than two columns (POINT,READING)");
            const double number =
                ParseNumber(where + ": the point \"" + point + "\"", point, 1, kLargest, true);
            if (number != double(readings.size() + 1))
                throw InputError(where + ": point " + point + " where point " +
                                 std::to_string(readings.size() + 1) + " comes");
        } else if (header && !IsNumber(value)) {
            continue;  // the header
        }
        if (value.empty())
            readings.emplace_back();
        else
            readings.emplace_back(ParseNumber(where + ": the reading \"" + value + "\"", value,
                                              -kLargest, kLargest, false));
    }
    return readings;
}

}  // namespace vadero::check
