#pragma once

#include <optional>
#include <string>
#include <string_view>

// Each latitude and longitude of the coordinate dialog is shown twice: as unsigned decimal
// degrees, the form that is stored, and as degrees, minutes and seconds that act on it. These
// functions are the rules that keep the two in step, as functions of the field texts: the
// dialog feeds them what its fields hold and shows what they return.
namespace gridloom {

/// Which of the two angles a set of fields holds: it sets the degree limit (90 or 180) and
/// how many characters of the degree field are read (2 or 3).
enum class Angle { Latitude, Longitude };

/// The corner a value belongs to: only the start corner's decimal field is held to the limit.
enum class Corner { Start, End };

/// One of the three fields of the degrees/minutes/seconds form.
enum class DmsField { Degrees, Minutes, Seconds };

/// An angle split into whole degrees, whole minutes and seconds.
struct Dms {
    int degrees = 0;
    int minutes = 0;
    double seconds = 0.0;
    bool operator==(const Dms&) const = default;
};

/// The texts of the degree, minute and second fields of one value.
struct DmsTexts {
    std::string degrees;
    std::string minutes;
    std::string seconds;
    bool operator==(const DmsTexts&) const = default;
};

/// 90 for latitudes, 180 for longitudes.
int degreeLimit(Angle angle);

/// Splits |value| by truncation; the seconds are not rounded. |value| must be below 2^31.
Dms decimalToDms(double value);
/// |minutes| / 60 + |degrees| + |seconds| / 3600, summed in that order: typed signs are ignored.
double dmsToDecimal(int degrees, int minutes, double seconds);

/// What a decimal field and its three companions show after the decimal field changed.
struct DecimalFieldUpdate {
    /// The decimal field's text: the text as it came, or the limit ("90.000000",
    /// "180.000000") when a start value reached it.
    std::string decimal;
    /// The three fields in their normal form; absent when the decimal text is no number (or
    /// so large that its degrees could not be shown), and the three fields keep their texts.
    std::optional<DmsTexts> dms;
};

/// The change handling of a decimal field holding `text`. Empty text and a lone point count
/// as 0; seconds above 59.99 carry into the minutes and the minutes into the degrees.
DecimalFieldUpdate decimalFieldChanged(std::string_view text, Angle angle, Corner corner);

/// What the fields of one value show after the focus left one of its three fields.
struct DmsFieldUpdate {
    /// The three texts, with the clamps of the field that was left applied and any field that
    /// was read as no number shown as 0.
    DmsTexts dms;
    /// The decimal field's new text, in six decimals; setting it runs the change handling.
    std::string decimal;
};

/// The focus left `left`: reads the first 2 (latitude) or 3 (longitude) characters of the
/// degrees, 2 of the minutes and 5 of the seconds; empty fields and characters that are no
/// number count as 0. Only the field that was left is clamped to its limit.
DmsFieldUpdate dmsFieldLeft(const DmsTexts& texts, DmsField left, Angle angle);

/// The hemisphere box's text after the minus key: "N" and "S" swap for latitudes, "E" and
/// "W" for longitudes; any other text stays as it is.
std::string switchHemisphere(std::string_view box, Angle angle);

} // namespace gridloom
