#pragma once

#include "common/date_hour.h"
#include "common/input_file_info.h"
#include "common/job_settings.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// How the listed files cover time, for appending in time: which hours of the output period no
// file holds, which hours several files hold, and which files lie on another grid than the
// rest. Nothing here refuses a file; it only describes the list. Every pass sorts or counts
// once, so a list of thousands of files costs no more than a sort.
namespace gridloom {

/// The hours from first to last, both included.
struct HourSpan {
    DateHour first;
    DateHour last;
    /// How many hours the span holds.
    std::int64_t hours() const { return (last - first).count() + 1; }
    bool operator==(const HourSpan&) const = default;
};

/// A run of hours that the same two or more files hold.
struct CoverageOverlap {
    HourSpan span;
    /// The files' list positions, counted from 0, in list order.
    std::vector<std::size_t> files;
    bool operator==(const CoverageOverlap&) const = default;
};

/// What one file's grid has that the common grid does not.
struct GridDifference {
    std::size_t file = 0;
    bool spacing = false;
    bool cells = false;
    bool origin = false;
    bool operator==(const GridDifference&) const = default;
};

/// The grid most files share, as the headers give it.
struct GridShape {
    double spacingKm = 0.0;
    std::optional<GridCells> cells;
    std::optional<GridOrigin> originKm;
    bool operator==(const GridShape&) const = default;
};

/// The hours of each file, in list order.
std::vector<HourSpan> fileSpans(std::span<const InputFileInfo> files);

/// The runs of `period` that no file holds, earliest first.
std::vector<HourSpan> coverageGaps(std::span<const HourSpan> files, HourSpan period);

/// The runs of hours held by more than one file, earliest first; a run ends wherever the set
/// of files holding it changes.
std::vector<CoverageOverlap> coverageOverlaps(std::span<const HourSpan> files);

/// The grid of `file` as its header gives it.
GridShape gridShapeOf(const InputFileInfo& file);

/// The grid that most files share; on a tie, the one met first in the list. Nothing for an
/// empty list.
std::optional<GridShape> commonGrid(std::span<const InputFileInfo> files);

/// The files whose grid differs from the common one, in list order.
std::vector<GridDifference> gridDifferences(std::span<const InputFileInfo> files);

/// The output period the main window holds, when both hours are whole hours of the day and the
/// end is not before the start. Hours are read as every typed whole number is read.
std::optional<HourSpan> outputPeriod(std::chrono::year_month_day startDay,
                                     std::string_view startHour, std::chrono::year_month_day endDay,
                                     std::string_view endHour);

/// One line of the coverage legend.
struct CoverageLine {
    std::string text;
    /// Drawn in the warning colour.
    bool warning = false;
    /// The hours the line is about, to show them when the line is chosen.
    std::optional<HourSpan> span;
    /// The files the line is about, list positions from 0.
    std::vector<std::size_t> files;
    bool operator==(const CoverageLine&) const = default;
};

/// Everything the time strip shows about a list of files.
struct InputCoverage {
    std::vector<HourSpan> files;
    std::optional<HourSpan> period;
    std::vector<HourSpan> gaps;
    std::vector<CoverageOverlap> overlaps;
    std::vector<GridDifference> gridDifferences;
    std::vector<CoverageLine> legend;
};

/// The coverage of `files` for the given mode and output period. Merge mode adds no warning:
/// the list already keeps merged files on one period. Without a usable period the gaps are
/// looked for between the first and the last hour of all files.
InputCoverage inputCoverage(std::span<const InputFileInfo> files, ProcessingMode mode,
                            std::optional<HourSpan> period);

/// "2002-03-05 07:00": a date-hour as the legend writes it.
std::string dateHourText(DateHour hour);

} // namespace gridloom
