#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace gridloom {

/// Rounds to the nearest whole number, an exact half going to the even neighbour.
double roundHalfEven(double value);

/// Reads a decimal number written with a point as separator, whatever the user's locale.
/// Blanks around the number are allowed; a sign, a fraction and an exponent are optional.
/// Empty text, anything that is not a number, and infinities fail.
std::optional<double> parseRealNumber(std::string_view text);

/// Reads a number as parseRealNumber does and rounds it half-even into a 16-bit signed integer;
/// fails when the text is no number or the rounded value lies outside -32768..32767.
std::optional<std::int16_t> parseWholeNumber(std::string_view text);

/// Reads a 32-bit signed integer written in plain decimal digits (an optional sign first);
/// fractions, blanks and out-of-range values fail.
std::optional<std::int32_t> parseInt32(std::string_view text);

/// The general number text: up to 15 significant digits, no trailing zeros and no point for
/// a whole value; exponent form ("1E-05", "1.5E+20") for magnitudes below 0.0001 or from 1E15.
std::string formatGeneral(double value);

/// A fixed-point text with exactly `decimals` decimals and at least one integer digit,
/// as in the picture "###0.00".
std::string formatFixed(double value, int decimals);

/// Text with the blanks (spaces only) at both ends removed.
std::string_view trimBlanks(std::string_view text);

} // namespace gridloom
