#pragma once

#include "common/domain_selection.h"

#include <chrono>
#include <string>
#include <vector>

namespace gridloom {

/// Which processor a job is for. The values are the indexes of the two mode options.
enum class ProcessingMode { Merge = 0, Extract = 1 };

/// How the output domain is entered.
enum class CoordinateType { None, XY, LatLon, IJK };

/// The day both date pickers show when the program starts.
inline constexpr std::chrono::year_month_day firstDayShown{
    std::chrono::year{2008}, std::chrono::September, std::chrono::day{18}};

/// A snapshot of every choice one run needs, taken from the main window's controls at the
/// moment an action runs. Text fields stay text, as typed: they are read where they are used.
struct JobSettings {
    ProcessingMode mode = ProcessingMode::Merge;
    CoordinateType coordinateType = CoordinateType::None;
    std::string title;
    std::string workingDirectory;
    /// The input files' paths as listed, in list order.
    std::vector<std::string> inputPaths;
    DomainSelection domain;
    std::chrono::year_month_day startDate = firstDayShown;
    std::string startHour = "0";
    std::chrono::year_month_day endDate = firstDayShown;
    std::string endHour = "0";
    std::string daysPerFile = "0";
    std::string outputName;
};

/// The processor's base name: "gridfuse" for Merge, "wxjoin2" for Extract.
inline const char* toolName(ProcessingMode mode)
{
    return mode == ProcessingMode::Merge ? "gridfuse" : "wxjoin2";
}

} // namespace gridloom
