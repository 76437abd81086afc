#include "calibrator/Numbers.h"

#include <charconv>
#include <cmath>

namespace vadero {

namespace {

bool IsPlaceholder(char c) {
    return c == '0' || c == '#';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

struct PictureShape {
    int minInteger = 0;   // '0' before the point
    int minDecimals = 0;  // '0' after the point
    int maxDecimals = 0;  // '0' and '#' after the point
    std::string prefix;   // what stands before the first placeholder
    std::string suffix;   // what stands after the last one
};

PictureShape ShapeOf(std::string_view picture) {
    PictureShape shape;
    const std::size_t first = picture.find_first_of("0#.");
    const std::size_t last = picture.find_last_of("0#.");
    if (first == std::string_view::npos) {
        shape.prefix = std::string(picture);
        return shape;
    }
    shape.prefix = std::string(picture.substr(0, first));
    shape.suffix = std::string(picture.substr(last + 1));
    bool afterPoint = false;
    for (std::size_t k = first; k <= last; ++k) {
        const char c = picture[k];
        if (c == '.') {
            afterPoint = true;
        } else if (IsPlaceholder(c)) {
            if (afterPoint) {
                ++shape.maxDecimals;
                if (c == '0')
                    shape.minDecimals = shape.maxDecimals;
            } else if (c == '0') {
                ++shape.minInteger;
            }
        }
    }
    return shape;
}

}  // namespace

std::string FormatPicture(double value, std::string_view picture, std::string_view decimalPoint) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    const PictureShape shape = ShapeOf(picture);

    // A double has at most 309 integer digits.
    std::string digits(320 + static_cast<std::size_t>(shape.maxDecimals), '\0');
    const auto written =
        std::to_chars(digits.data(), digits.data() + digits.size(), std::fabs(value),
                      std::chars_format::fixed, shape.maxDecimals);
    digits.resize(static_cast<std::size_t>(written.ptr - digits.data()));

    std::string integer = digits.substr(0, digits.find('.'));
    std::string fraction =
        digits.find('.') == std::string::npos ? std::string() : digits.substr(digits.find('.') + 1);
    while (static_cast<int>(fraction.size()) > shape.minDecimals && fraction.back() == '0')
        fraction.pop_back();
    const bool zero = integer.find_first_not_of('0') == std::string::npos &&
                      fraction.find_first_not_of('0') == std::string::npos;
    integer.erase(0, integer.find_first_not_of('0'));
    if (static_cast<int>(integer.size()) < shape.minInteger)
        integer.insert(0, static_cast<std::size_t>(shape.minInteger) - integer.size(), '0');

    std::string out = shape.prefix;
    if (value < 0 && !zero)
        out += '-';
    out += integer;
    if (!fraction.empty()) {
        out += decimalPoint;
        out += fraction;
    }
    out += shape.suffix;
    return out;
}

namespace {

std::string_view Trimmed(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

// The sign, digits and one decimal point from t[k] on, into plain with '.' as
// the separator and no '+'; false when there is no digit.
bool ReadMantissa(std::string_view t, std::size_t& k, std::string_view decimalPoint,
                  std::string& plain) {
    if (k < t.size() && (t[k] == '+' || t[k] == '-')) {
        if (t[k] == '-')
            plain += '-';
        ++k;
    }
    int digits = 0;
    bool point = false;
    while (k < t.size()) {
        if (IsDigit(t[k])) {
            plain += t[k++];
            ++digits;
        } else if (!point && !decimalPoint.empty() &&
                   t.substr(k, decimalPoint.size()) == decimalPoint) {
            plain += '.';
            k += decimalPoint.size();
            point = true;
        } else {
            break;
        }
    }
    return digits > 0;
}

// An exponent from t[k] on, if there is one; false when it has no digit.
bool ReadExponent(std::string_view t, std::size_t& k, std::string& plain) {
    if (k == t.size() || (t[k] != 'e' && t[k] != 'E'))
        return true;
    plain += 'e';
    ++k;
    if (k < t.size() && (t[k] == '+' || t[k] == '-'))
        plain += t[k++];
    int exponentDigits = 0;
    while (k < t.size() && IsDigit(t[k])) {
        plain += t[k++];
        ++exponentDigits;
    }
    return exponentDigits > 0;
}

template <class Real>
std::optional<Real> ParseAs(std::string_view text, std::string_view decimalPoint) {
    const std::string_view t = Trimmed(text);
    std::string plain;
    std::size_t k = 0;
    if (!ReadMantissa(t, k, decimalPoint, plain) || !ReadExponent(t, k, plain) || k != t.size())
        return std::nullopt;

    Real value = 0;
    const auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || ptr != plain.data() + plain.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<float> ParseNumber(std::string_view text, std::string_view decimalPoint) {
    return ParseAs<float>(text, decimalPoint);
}

std::optional<double> ParseReal(std::string_view text, std::string_view decimalPoint) {
    return ParseAs<double>(text, decimalPoint);
}

}  // namespace vadero
