// The window's number texts: what an edit or a grid cell holds goes to
// ParseNumber, and what the window shows comes from FormatPicture.
//
// Byte 0 picks the decimal separator (bits 0-1: '.', ',', U+066B, none) and
// the property (bit 2):
//   0  the rest is a typed text: a number found is finite, and blanks around
//      it, another separator or a leading minus change it as they must;
//   1  bytes 1-4 are a float shown in a picture made of bytes 5 on (over the
//      alphabet " #0.x,"): the text shows the value rounded to the picture's
//      decimals, and a picture with blank margins reads back as that value.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "calibrator/Numbers.h"
#include "fuzz/FuzzCheck.h"

namespace {

constexpr std::string_view kSeparators[] = {".", ",", "\xD9\xAB", ""};

bool Same(const std::optional<float>& a, const std::optional<float>& b) {
    return a.has_value() == b.has_value() && (!a || *a == *b);
}

std::string Replaced(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    for (std::size_t k = 0; k < text.size();) {
        if (!from.empty() && text.substr(k, from.size()) == from) {
            out += to;
            k += from.size();
        } else {
            out += text[k++];
        }
    }
    return out;
}

bool Blank(char c) {
    return c == ' ' || c == '\t';
}

void TypedText(std::string_view text, std::string_view separator) {
    const std::optional<float> value = vadero::ParseNumber(text, separator);
    if (value)
        FUZZ_CHECK(std::isfinite(*value));

    FUZZ_CHECK(Same(vadero::ParseNumber(" \t" + std::string(text) + "\t ", separator), value));

    // The same number under another separator, where the text holds neither the other one.
    for (const std::string_view other : kSeparators) {
        if (other.empty() || separator.empty() || other == separator)
            continue;
        if (text.find(other) != std::string_view::npos)
            continue;
        const std::string moved = Replaced(text, separator, other);
        if (moved.find(separator) != std::string::npos)
            continue;  // the separator overlapped itself or the other one
        FUZZ_CHECK(Same(vadero::ParseNumber(moved, other), value));
    }

    std::size_t begin = 0;
    while (begin < text.size() && Blank(text[begin])) ++begin;
    const std::string_view trimmed = text.substr(begin);
    if (value && !trimmed.empty() && trimmed[0] != '+' && trimmed[0] != '-') {
        const std::optional<float> negated =
            vadero::ParseNumber("-" + std::string(trimmed), separator);
        FUZZ_CHECK(negated && *negated == -*value);
    }
}

struct Shape {
    int decimals = 0;  // '0' and '#' after the first point
    bool blankMargins = true;
};

Shape ShapeOf(std::string_view picture) {
    Shape shape;
    const std::size_t first = picture.find_first_of("0#.");
    const std::size_t last = picture.find_last_of("0#.");
    if (first == std::string_view::npos)
        return {0, false};
    for (std::size_t k = 0; k < picture.size(); ++k)
        if ((k < first || k > last) && !Blank(picture[k]))
            shape.blankMargins = false;
    const std::size_t point = picture.find('.', first);
    if (point != std::string_view::npos && point <= last)
        for (std::size_t k = point + 1; k <= last; ++k)
            if (picture[k] == '0' || picture[k] == '#')
                ++shape.decimals;
    return shape;
}

void ShownValue(float value, std::string_view picture, std::string_view separator) {
    const std::string shown = vadero::FormatPicture(value, picture, separator);
    if (std::isnan(value)) {
        FUZZ_CHECK(shown == "NAN");
        return;
    }
    if (std::isinf(value)) {
        FUZZ_CHECK(shown == (value < 0 ? "-INF" : "INF"));
        return;
    }
    const Shape shape = ShapeOf(picture);
    if (!shape.blankMargins || separator.empty())
        return;
    if (shown.find_first_of("0123456789") == std::string::npos)
        return;  // "#.#" shows a zero as nothing at all

    const std::optional<float> read = vadero::ParseNumber(shown, separator);
    FUZZ_CHECK(read.has_value());
    // The text is the value rounded to the picture's decimals.
    const std::string plain = Replaced(shown, separator, ".");
    FUZZ_CHECK(*read == std::strtof(plain.c_str(), nullptr));
    const double step = std::pow(10.0, -shape.decimals);
    const double ulp =
        std::nextafter(std::fabs(value), std::numeric_limits<float>::infinity()) - std::fabs(value);
    FUZZ_CHECK(std::fabs(double(*read) - double(value)) <= step / 2 * (1 + 1e-9) + ulp);
    // Read back and shown again, it is the same text wherever the float's
    // precision is finer than the picture's.
    const double readUlp =
        std::nextafter(std::fabs(*read), std::numeric_limits<float>::infinity()) - std::fabs(*read);
    if (2 * readUlp <= step)
        FUZZ_CHECK(vadero::FormatPicture(*read, picture, separator) == shown);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::string_view separator = kSeparators[data[0] & 0x03];
    if (!(data[0] & 0x04)) {
        TypedText(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), separator);
        return 0;
    }
    if (size < 5)
        return 0;
    float value = 0;
    std::memcpy(&value, data + 1, sizeof value);
    static constexpr char kAlphabet[] = " #0.x,";
    std::string picture;
    for (std::size_t k = 5; k < size && picture.size() < 400; ++k)
        picture += kAlphabet[data[k] % 6];
    ShownValue(value, picture, separator);
    return 0;
}
