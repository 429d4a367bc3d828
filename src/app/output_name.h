#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace gridloom {

/// The Merge-mode output name that follows the start of the output period: an empty name
/// becomes "merged_<stamp>.m3d"; a name with an underscore keeps what stands before the first
/// one and gets "_<stamp>.m3d"; a name without an underscore is the user's own and stays.
/// Returns nothing when the name is to stay as it is, which includes a start hour text that is
/// not a whole number (an empty field while the user edits it).
std::optional<std::string> suggestOutputName(std::string_view currentName,
                                             std::chrono::year_month_day startDate,
                                             std::string_view startHourText);

} // namespace gridloom
