#include "app/output_name.h"

#include "common/date_hour_stamp.h"
#include "common/numbers.h"

namespace gridloom {

std::optional<std::string> suggestOutputName(std::string_view currentName,
                                             std::chrono::year_month_day startDate,
                                             std::string_view startHourText)
{
    const auto hour = parseWholeNumber(startHourText);
    if (!hour)
        return std::nullopt;
    const std::string stamp = dateHourStamp(startDate, *hour);

    if (trimBlanks(currentName).empty())
        return "merged_" + stamp + ".m3d";
    const auto underscore = currentName.find('_');
    if (underscore == std::string_view::npos)
        return std::nullopt;
    return std::string(currentName.substr(0, underscore)) + "_" + stamp + ".m3d";
}

} // namespace gridloom
