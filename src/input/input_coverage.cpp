#include "input/input_coverage.h"

#include "common/date_hour_stamp.h"
#include "common/numbers.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace gridloom {

namespace {

using namespace std::chrono;

// A grid as an ordered key, so equal grids count together in one map.
using GridKey =
    std::tuple<double, bool, std::int32_t, std::int32_t, std::int32_t, bool, double, double>;

GridKey keyOf(const GridShape& grid)
{
    const GridCells cells = grid.cells.value_or(GridCells{});
    const GridOrigin origin = grid.originKm.value_or(GridOrigin{});
    return {grid.spacingKm, grid.cells.has_value(),    cells.nx,   cells.ny,
            cells.nz,       grid.originKm.has_value(), origin.xKm, origin.yKm};
}

std::string hoursText(std::int64_t count)
{
    return std::to_string(count) + (count == 1 ? " hour" : " hours");
}

std::string spanText(const HourSpan& span)
{
    if (span.first == span.last)
        return dateHourText(span.first);
    return dateHourText(span.first) + " to " + dateHourText(span.last);
}

// "file 3", "files 2 and 3", "files 2, 3 and 7", counted from 1 as the strip labels them.
std::string filesText(const std::vector<std::size_t>& files)
{
    std::string text = files.size() == 1 ? "file " : "files ";
    for (std::size_t n = 0; n < files.size(); ++n) {
        if (n > 0)
            text += n + 1 == files.size() ? " and " : ", ";
        text += std::to_string(files[n] + 1);
    }
    return text;
}

std::string cellsText(const std::optional<GridCells>& cells)
{
    if (!cells)
        return "unknown";
    return std::to_string(cells->nx) + " x " + std::to_string(cells->ny) + " x " +
           std::to_string(cells->nz) + " cells";
}

std::string originText(const std::optional<GridOrigin>& origin)
{
    if (!origin)
        return "unknown";
    return "(" + formatGeneral(origin->xKm) + ", " + formatGeneral(origin->yKm) + ") km";
}

std::string gridText(const GridDifference& difference, const GridShape& own,
                     const GridShape& common)
{
    std::vector<std::string> parts;
    if (difference.spacing)
        parts.push_back("spacing " + formatGeneral(own.spacingKm) + " km, not " +
                        formatGeneral(common.spacingKm) + " km");
    if (difference.cells)
        parts.push_back(cellsText(own.cells) + ", not " + cellsText(common.cells));
    if (difference.origin)
        parts.push_back("origin " + originText(own.originKm) + ", not " +
                        originText(common.originKm));
    std::string text = "Other grid: file " + std::to_string(difference.file + 1) + " has ";
    for (std::size_t n = 0; n < parts.size(); ++n)
        text += (n > 0 ? "; " : "") + parts[n];
    return text;
}

} // namespace

std::vector<HourSpan> fileSpans(std::span<const InputFileInfo> files)
{
    std::vector<HourSpan> spans;
    spans.reserve(files.size());
    for (const InputFileInfo& file : files)
        spans.push_back(HourSpan{file.firstHour, file.lastHour()});
    return spans;
}

std::vector<HourSpan> coverageGaps(std::span<const HourSpan> files, HourSpan period)
{
    std::vector<HourSpan> sorted(files.begin(), files.end());
    std::sort(sorted.begin(), sorted.end(),
              [](const HourSpan& a, const HourSpan& b) { return a.first < b.first; });
    std::vector<HourSpan> gaps;
    // Every hour before this one is held by a file or already reported.
    DateHour next = period.first;
    for (const HourSpan& file : sorted) {
        if (next > period.last)
            break;
        if (file.first > next) {
            const DateHour end = std::min(file.first - hours{1}, period.last);
            gaps.push_back(HourSpan{next, end});
        }
        next = std::max(next, file.last + hours{1});
    }
    if (next <= period.last)
        gaps.push_back(HourSpan{next, period.last});
    return gaps;
}

std::vector<CoverageOverlap> coverageOverlaps(std::span<const HourSpan> files)
{
    // Each file opens at its first hour and closes after its last; between two event times the
    // set of open files is constant.
    struct Event {
        DateHour at;
        bool opens;
        std::size_t file;
    };
    std::vector<Event> events;
    events.reserve(files.size() * 2);
    for (std::size_t n = 0; n < files.size(); ++n) {
        events.push_back(Event{files[n].first, true, n});
        events.push_back(Event{files[n].last + hours{1}, false, n});
    }
    std::sort(events.begin(), events.end(),
              [](const Event& a, const Event& b) { return a.at < b.at; });

    std::vector<CoverageOverlap> overlaps;
    std::set<std::size_t> open;
    for (std::size_t n = 0; n < events.size();) {
        const DateHour at = events[n].at;
        for (; n < events.size() && events[n].at == at; ++n) {
            if (events[n].opens)
                open.insert(events[n].file);
            else
                open.erase(events[n].file);
        }
        if (open.size() >= 2 && n < events.size())
            overlaps.push_back(CoverageOverlap{HourSpan{at, events[n].at - hours{1}},
                                               std::vector<std::size_t>(open.begin(), open.end())});
    }
    return overlaps;
}

GridShape gridShapeOf(const InputFileInfo& file)
{
    return GridShape{file.gridSpacingKm, file.gridCells, file.gridOriginKm};
}

std::optional<GridShape> commonGrid(std::span<const InputFileInfo> files)
{
    struct Tally {
        std::size_t count = 0;
        std::size_t firstFile = 0;
    };
    std::map<GridKey, Tally> tallies;
    for (std::size_t n = 0; n < files.size(); ++n) {
        const auto [place, added] = tallies.try_emplace(keyOf(gridShapeOf(files[n])), Tally{0, n});
        ++place->second.count;
    }
    std::optional<Tally> best;
    for (const auto& [key, tally] : tallies) {
        if (!best || tally.count > best->count ||
            (tally.count == best->count && tally.firstFile < best->firstFile))
            best = tally;
    }
    if (!best)
        return std::nullopt;
    return gridShapeOf(files[best->firstFile]);
}

std::vector<GridDifference> gridDifferences(std::span<const InputFileInfo> files)
{
    std::vector<GridDifference> differences;
    const auto common = commonGrid(files);
    if (!common)
        return differences;
    for (std::size_t n = 0; n < files.size(); ++n) {
        const GridShape own = gridShapeOf(files[n]);
        const GridDifference difference{n, own.spacingKm != common->spacingKm,
                                        own.cells != common->cells,
                                        own.originKm != common->originKm};
        if (difference.spacing || difference.cells || difference.origin)
            differences.push_back(difference);
    }
    return differences;
}

std::optional<HourSpan> outputPeriod(year_month_day startDay, std::string_view startHour,
                                     year_month_day endDay, std::string_view endHour)
{
    const auto first = parseWholeNumber(startHour);
    const auto last = parseWholeNumber(endHour);
    if (!first || !last || *first < 0 || *first > 23 || *last < 0 || *last > 23 || !startDay.ok() ||
        !endDay.ok())
        return std::nullopt;
    const HourSpan period{sys_days{startDay} + hours{*first}, sys_days{endDay} + hours{*last}};
    if (period.last < period.first)
        return std::nullopt;
    return period;
}

InputCoverage inputCoverage(std::span<const InputFileInfo> files, ProcessingMode mode,
                            std::optional<HourSpan> period)
{
    InputCoverage coverage;
    coverage.files = fileSpans(files);
    coverage.period = period;
    auto& legend = coverage.legend;
    if (period)
        legend.push_back(
            CoverageLine{"Output period: " + spanText(*period) + ", " + hoursText(period->hours()),
                         false,
                         period,
                         {}});
    else
        legend.push_back(CoverageLine{
            "Output period: none while an hour box is not 0 to 23 or the end is before the start",
            false,
            std::nullopt,
            {}});
    if (files.empty()) {
        legend.push_back(CoverageLine{"No input files listed", false, std::nullopt, {}});
        return coverage;
    }
    if (mode == ProcessingMode::Merge) {
        legend.push_back(
            CoverageLine{"Merge mode: the list itself keeps the merged files on one period",
                         false,
                         std::nullopt,
                         {}});
        return coverage;
    }

    HourSpan searched = coverage.files.front();
    for (const HourSpan& file : coverage.files) {
        searched.first = std::min(searched.first, file.first);
        searched.last = std::max(searched.last, file.last);
    }
    coverage.gaps = coverageGaps(coverage.files, period.value_or(searched));
    coverage.overlaps = coverageOverlaps(coverage.files);
    coverage.gridDifferences = gridDifferences(files);

    for (const HourSpan& gap : coverage.gaps)
        legend.push_back(CoverageLine{
            "Gap: no file holds " + spanText(gap) + ", " + hoursText(gap.hours()), true, gap, {}});
    for (const CoverageOverlap& overlap : coverage.overlaps) {
        std::string who = filesText(overlap.files);
        who[0] = 'F';
        const char* verb = overlap.files.size() == 2 ? " both hold " : " all hold ";
        legend.push_back(CoverageLine{"Overlap: " + who + verb + spanText(overlap.span) + ", " +
                                          hoursText(overlap.span.hours()),
                                      true, overlap.span, overlap.files});
    }
    if (!coverage.gridDifferences.empty()) {
        const GridShape common = *commonGrid(files);
        for (const GridDifference& difference : coverage.gridDifferences)
            legend.push_back(
                CoverageLine{gridText(difference, gridShapeOf(files[difference.file]), common),
                             true,
                             coverage.files[difference.file],
                             {difference.file}});
    }
    if (coverage.gaps.empty() && coverage.overlaps.empty() && coverage.gridDifferences.empty())
        legend.push_back(CoverageLine{"No gaps, no overlaps, one grid", false, std::nullopt, {}});
    return coverage;
}

std::string dateHourText(DateHour hour)
{
    const year_month_day day = calendarDay(hour);
    return std::to_string(static_cast<int>(day.year())) + "-" +
           twoDigits(static_cast<int>(static_cast<unsigned>(day.month()))) + "-" +
           twoDigits(static_cast<int>(static_cast<unsigned>(day.day()))) + " " +
           twoDigits(hourOfDay(hour)) + ":00";
}

} // namespace gridloom
