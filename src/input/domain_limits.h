#pragma once

#include <array>
#include <string>
#include <string_view>

namespace gridloom {

/// How the limits panel shows a file's domain.
enum class LimitsView {
    /// Grid indices i, j, k.
    Index = 0,
    /// Longitudes and latitudes on the first two rows, k on the third.
    Geographic = 1
};

/// What a limits label shows when no file's limits are on display.
inline constexpr std::string_view noLimitsText = "---";

/// A longitude as the panel shows it: its magnitude in the general number format followed by
/// "E", or "W" for a negative value ("97.25W", "0E"). A text that is not a number is shown
/// unchanged, without a hemisphere letter.
std::string longitudeText(std::string_view text);

/// A latitude as the panel shows it: the same as longitudeText with "N" and "S".
std::string latitudeText(std::string_view text);

/// The texts of the six limits labels Domain(0) to Domain(5) for the ten limit texts of a file
/// in extent-line order (i1, j1, i2, j2, k1, k2, lon1, lon2, lat1, lat2). Rows are
/// (0, 2), (1, 3) and (4, 5).
std::array<std::string, 6> domainLimitTexts(const std::array<std::string, 10>& limits,
                                            LimitsView view);

} // namespace gridloom
