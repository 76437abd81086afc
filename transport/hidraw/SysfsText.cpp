#include "transport/hidraw/SysfsText.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <tuple>

namespace vadero {
namespace {

// A whole field of hex digits, nothing else.
std::optional<std::uint32_t> ParseHexField(std::string_view field) {
    if (field.empty() || field.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value, 16);
    if (error != std::errc{} || end != field.data() + field.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<HidAttributes> ParseHidId(std::string_view value) {
    const std::size_t first = value.find(':');
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::size_t second = value.find(':', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    const auto bus = ParseHexField(value.substr(0, first));
    const auto vendor = ParseHexField(value.substr(first + 1, second - first - 1));
    const auto product = ParseHexField(value.substr(second + 1));
    if (!bus || !vendor || !product || *vendor > 0xFFFF || *product > 0xFFFF)
        return std::nullopt;
    HidAttributes attributes;
    attributes.VendorID = static_cast<std::uint16_t>(*vendor);
    attributes.ProductID = static_cast<std::uint16_t>(*product);
    return attributes;
}

std::string StripSysfsNewline(std::string_view contents) {
    if (!contents.empty() && contents.back() == '\n')
        contents.remove_suffix(1);
    return std::string(contents);
}

std::optional<unsigned> HidrawNodeNumber(std::string_view path) {
    constexpr std::string_view kPrefix = "/dev/hidraw";
    if (!path.starts_with(kPrefix))
        return std::nullopt;
    const std::string_view digits = path.substr(kPrefix.size());
    if (digits.empty() || digits.size() > 9)
        return std::nullopt;
    unsigned number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc{} || end != digits.data() + digits.size())
        return std::nullopt;
    return number;
}

void SortHidrawPaths(std::vector<std::string>& paths) {
    // Key: numbered nodes first, by number, then the path itself.
    const auto key = [](const std::string& path) {
        const auto number = HidrawNodeNumber(path);
        return std::make_tuple(!number.has_value(), number.value_or(0), std::string_view(path));
    };
    std::sort(paths.begin(), paths.end(),
              [&](const std::string& a, const std::string& b) { return key(a) < key(b); });
}

}  // namespace vadero
