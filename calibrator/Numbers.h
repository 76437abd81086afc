#pragma once
// Numbers as the window types and shows them: number pictures and the
// parsing of typed text. Pure functions; the decimal separator is a
// parameter so that the locale stays outside.

#include <optional>
#include <string>
#include <string_view>

namespace vadero {

// `value` in a picture: '#' an optional digit, '0' a digit always shown, the
// first '.' the place of the decimal separator; other characters stand as
// they are. Rounded to the picture's digit places after the point; a value
// that rounds to zero shows no sign. Not-a-number and infinities show "NAN",
// "INF" and "-INF".
std::string FormatPicture(double value, std::string_view picture,
                          std::string_view decimalPoint = ".");

// A typed number: blanks around it, an optional sign, digits with at most one
// decimal separator (at least one digit), an optional exponent. Anything else,
// and a value beyond single precision, is no number.
std::optional<float> ParseNumber(std::string_view text, std::string_view decimalPoint = ".");
// The same in double precision: a value beyond single precision is still a number.
std::optional<double> ParseReal(std::string_view text, std::string_view decimalPoint = ".");

}  // namespace vadero
