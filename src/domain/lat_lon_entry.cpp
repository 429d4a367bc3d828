#include "domain/lat_lon_entry.h"

#include "common/numbers.h"

#include <cmath>
#include <cstdlib>

namespace gridloom {

namespace {

// The degree field holds a 16-bit whole number; a decimal value beyond it has no degree text.
constexpr double largestShownDegrees = 32767.0;

std::string wholeText(int value)
{
    return std::to_string(value);
}

std::string secondsText(double seconds)
{
    return formatFixed(seconds, 2);
}

// The first `count` characters of a field read as a whole number. Empty reads as 0; so does
// text that is no number, which the caller then shows as 0.
int readLeadingWhole(std::string& text, std::size_t count)
{
    if (text.empty())
        return 0;
    if (const auto value = parseWholeNumber(std::string_view(text).substr(0, count)))
        return *value;
    text = "0";
    return 0;
}

double readLeadingSeconds(std::string& text)
{
    if (text.empty())
        return 0.0;
    if (const auto value = parseRealNumber(std::string_view(text).substr(0, 5)))
        return *value;
    text = secondsText(0.0);
    return 0.0;
}

} // namespace

int degreeLimit(Angle angle)
{
    return angle == Angle::Latitude ? 90 : 180;
}

Dms decimalToDms(double value)
{
    const double a = std::fabs(value);
    Dms result;
    result.degrees = static_cast<int>(a);
    const double m = (a - result.degrees) * 60.0;
    result.minutes = static_cast<int>(m);
    result.seconds = (m - result.minutes) * 60.0;
    return result;
}

double dmsToDecimal(int degrees, int minutes, double seconds)
{
    return (std::abs(minutes) / 60.0 + std::abs(degrees)) + std::fabs(seconds) / 3600.0;
}

DecimalFieldUpdate decimalFieldChanged(std::string_view text, Angle angle, Corner corner)
{
    DecimalFieldUpdate update{std::string(text), std::nullopt};
    double value = 0.0;
    if (!text.empty() && trimBlanks(text) != ".") {
        const auto read = parseRealNumber(text);
        if (!read)
            return update;
        value = *read;
    }

    const int limit = degreeLimit(angle);
    if (corner == Corner::Start && value >= limit) {
        value = limit;
        update.decimal = formatFixed(limit, 6);
    }
    if (!(std::fabs(value) <= largestShownDegrees))
        return update;

    Dms dms = decimalToDms(value);
    // Seconds that would show as 60.00 are carried instead, up to the limit of the degrees;
    // the decimal field keeps its exact value.
    if (dms.seconds > 59.99) {
        dms.seconds = 0.0;
        ++dms.minutes;
        if (dms.minutes == 60) {
            dms.minutes = 0;
            ++dms.degrees;
            if (dms.degrees > limit)
                dms.degrees = limit;
        }
    }
    update.dms = DmsTexts{wholeText(dms.degrees), wholeText(dms.minutes), secondsText(dms.seconds)};
    return update;
}

DmsFieldUpdate dmsFieldLeft(const DmsTexts& texts, DmsField left, Angle angle)
{
    DmsFieldUpdate update{texts, {}};
    DmsTexts& shown = update.dms;
    const int limit = degreeLimit(angle);

    int degrees = readLeadingWhole(shown.degrees, angle == Angle::Latitude ? 2 : 3);
    if (left == DmsField::Degrees && degrees > limit) {
        degrees = limit;
        shown.degrees = wholeText(limit);
    }

    int minutes = readLeadingWhole(shown.minutes, 2);
    if (left == DmsField::Minutes && minutes > 59) {
        minutes = 59;
        shown.minutes = wholeText(59);
    }

    // At the limit there is nothing beyond whole degrees, so the seconds are dropped; the
    // minutes are left to the start corner's limit in the change handling.
    if (left == DmsField::Seconds && degrees == limit)
        shown.seconds = secondsText(0.0);
    double seconds = readLeadingSeconds(shown.seconds);
    if (left == DmsField::Seconds && seconds > 59.99) {
        seconds = 59.99;
        shown.seconds = secondsText(59.99);
    }

    update.decimal = formatFixed(dmsToDecimal(degrees, minutes, seconds), 6);
    return update;
}

std::string switchHemisphere(std::string_view box, Angle angle)
{
    if (angle == Angle::Latitude) {
        if (box == "N")
            return "S";
        if (box == "S")
            return "N";
    } else {
        if (box == "W")
            return "E";
        if (box == "E")
            return "W";
    }
    return std::string(box);
}

} // namespace gridloom
