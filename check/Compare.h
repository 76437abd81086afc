#pragma once
// Two records of one instrument side by side (as found, then as left): each
// point's reading and error in both, and how much its error changed.

#include <string>

#include <nlohmann/json.hpp>

namespace vadero::check {

// NOLINTNEXTLINE(bugprone-exception-escape): its move is its members', which do not throw.
struct Comparison {
    std::string text;    // aligned columns for a person
    nlohmann::json doc;  // the same as one JSON document
};

// Throws InputError for a document that is no record of a loop check, or
// records of two instruments.
Comparison CompareRecords(const nlohmann::json& before, const std::string& beforeName,
                          const nlohmann::json& after, const std::string& afterName);

}  // namespace vadero::check
