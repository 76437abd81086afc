#include "app/pages/UserScaleValues.h"

#include <charconv>
#include <climits>
#include <cmath>

#include "calibrator/Conversions.h"

namespace vadero {

float PowerOfTen(int decimals) {
    float m = 1.0F;
    for (int i = 0; i < decimals; ++i) m *= 10.0F;
    return m;
}

namespace {

// The digits after the point of the shortest text that reads back as value.
int ShortestDecimals(float value) {
    if (!std::isfinite(value))
        return 0;
    char text[64];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    const std::string_view digits(text, static_cast<std::size_t>(written.ptr - text));
    const std::size_t point = digits.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(digits.size() - point - 1);
}

}  // namespace

std::string WholePicture(float value, std::uint16_t code) {
    std::string picture = FormatOfCode(code);
    const int more = ShortestDecimals(value) - DecimalsOfFormat(code);
    if (more <= 0)
        return picture;
    if (picture.find('.') == std::string::npos)
        picture += '.';
    picture.append(static_cast<std::size_t>(more), '0');
    return picture;
}

std::optional<int> DisplayNumber(float value, int decimals) {
    const float scaled = value * PowerOfTen(decimals);
    if (std::isnan(scaled))
        return std::nullopt;
    const double rounded = std::nearbyint(static_cast<double>(scaled));
    if (rounded >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (rounded <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(rounded);
}

}  // namespace vadero
