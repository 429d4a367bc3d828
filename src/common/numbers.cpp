#include "common/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace gridloom {

double roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1.0;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::string_view trimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::optional<double> parseRealNumber(std::string_view text)
{
    text = trimBlanks(text);
    // from_chars takes a minus but no plus, and would read "inf" and "nan": refuse all of those
    // by insisting on a digit or a point after the optional sign.
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() ||
        !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '.'))
        return std::nullopt;
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<std::int16_t> parseWholeNumber(std::string_view text)
{
    const auto value = parseRealNumber(text);
    if (!value)
        return std::nullopt;
    const double rounded = roundHalfEven(*value);
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

std::optional<std::int32_t> parseInt32(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

namespace {

// std::to_chars never consults the C locale, which Qt sets to the user's at start-up: a user
// with a decimal comma must still get points in labels and written files.
std::string toChars(double value, std::chars_format format, int precision)
{
    char buffer[400];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return error == std::errc{} ? std::string(buffer, end) : std::string{};
}

} // namespace

std::string formatGeneral(double value)
{
    if (value == 0.0 || !std::isfinite(value))
        return value == 0.0 ? "0" : std::string{};

    const double magnitude = std::fabs(value);
    if (magnitude >= 1e-4 && magnitude < 1e15) {
        // With 15 digits the general form switches to an exponent only below 1e-4 or from
        // 1e15, so inside this range it is always the plain form, trailing zeros removed.
        return toChars(value, std::chars_format::general, 15);
    }

    // Exponent form as "1.5E-05": mantissa without trailing zeros, signed two-digit exponent.
    const std::string text = toChars(value, std::chars_format::scientific, 14);
    const auto e = text.find('e');
    std::string mantissa = text.substr(0, e);
    if (mantissa.find('.') != std::string::npos) {
        mantissa.erase(mantissa.find_last_not_of('0') + 1);
        if (mantissa.back() == '.')
            mantissa.pop_back();
    }
    const int exponent = std::stoi(text.substr(e + 1));
    const std::string digits = std::to_string(std::abs(exponent));
    return mantissa + (exponent < 0 ? "E-" : "E+") + (digits.size() < 2 ? "0" : "") + digits;
}

std::string formatFixed(double value, int decimals)
{
    std::string text = toChars(value, std::chars_format::fixed, decimals);
    // A value that rounds to zero keeps no minus sign: "-0.00" is not a text anyone wants.
    if (!text.empty() && text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

} // namespace gridloom
