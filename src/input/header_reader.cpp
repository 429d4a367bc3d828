#include "input/header_reader.h"

#include "common/numbers.h"
#include "common/platform.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace gridloom {

namespace {

using namespace std::chrono;

// The list compares start stamps as 32-bit integers, so a stamp must fit one: years to 2147.
constexpr std::int64_t largestStampValue = std::numeric_limits<std::int32_t>::max();

// The calendar (and the date pickers that show a period) end with the year 9999.
constexpr DateHour latestHour = sys_days{year{9999} / December / 31} + hours{23};

// The first `wanted` lines of the text (fewer when it has fewer), cut at LF, each without the
// CR that may stand before its LF.
std::vector<std::string_view> linesOf(std::string_view text, std::size_t wanted)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (lines.size() < wanted) {
        const auto lf = text.find('\n', start);
        std::string_view line =
            text.substr(start, lf == std::string_view::npos ? std::string_view::npos : lf - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (lf == std::string_view::npos)
            break;
        start = lf + 1;
    }
    return lines;
}

bool allDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int digitsValue(std::string_view text)
{
    int value = 0;
    for (const char c : text)
        value = value * 10 + (c - '0');
    return value;
}

// The decimal value of a ten-digit stamp, which does not fit an int.
std::int64_t stampValue(std::string_view stamp)
{
    return digitsValue(stamp.substr(0, 4)) * std::int64_t{1'000'000} + digitsValue(stamp.substr(4));
}

// Cell counts and origin stand around the spacing: "... xsw ysw spacing nx ny nz". A grid
// line without them is still a readable header; only the comparison of grids misses them.
void readGridLayout(const std::vector<std::string_view>& grid, InputFileInfo& info)
{
    const std::size_t spacing = grid.size() - 4;
    const auto nx = parseInt32(grid[spacing + 1]);
    const auto ny = parseInt32(grid[spacing + 2]);
    const auto nz = parseInt32(grid[spacing + 3]);
    if (nx && ny && nz)
        info.gridCells = GridCells{*nx, *ny, *nz};
    if (spacing >= 2) {
        const auto x = parseRealNumber(grid[spacing - 2]);
        const auto y = parseRealNumber(grid[spacing - 1]);
        if (x && y)
            info.gridOriginKm = GridOrigin{*x, *y};
    }
}

} // namespace

std::vector<std::string_view> dropBlankFields(const std::vector<std::string_view>& pieces)
{
    std::vector<std::string_view> kept;
    for (const auto piece : pieces) {
        if (!trimBlanks(piece).empty())
            kept.push_back(piece);
    }
    return kept;
}

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (;;) {
        const auto space = line.find(' ', start);
        if (space == std::string_view::npos) {
            pieces.push_back(line.substr(start));
            return dropBlankFields(pieces);
        }
        pieces.push_back(line.substr(start, space - start));
        start = space + 1;
    }
}

std::optional<DateHour> parseDateHourStamp(std::string_view stamp)
{
    if (stamp.size() != 10 || !allDigits(stamp))
        return std::nullopt;
    const year_month_day date{year{digitsValue(stamp.substr(0, 4))},
                              month{static_cast<unsigned>(digitsValue(stamp.substr(4, 2)))},
                              day{static_cast<unsigned>(digitsValue(stamp.substr(6, 2)))}};
    const int hour = digitsValue(stamp.substr(8, 2));
    if (!date.ok() || hour > 23)
        return std::nullopt;
    return sys_days{date} + hours{hour};
}

std::optional<InputFileInfo> parseHeader(std::string_view text, const std::string& path)
{
    text = text.substr(0, std::min(text.size(), headerReadSize));
    const auto firstLines = linesOf(text, 2);
    if (firstLines.size() < 2)
        return std::nullopt;

    const auto commentLines = parseInt32(trimBlanks(firstLines[1]));
    if (!commentLines || *commentLines < 0)
        return std::nullopt;
    // Counted in 64 bits: a huge N must fail the line test below, not overflow past it.
    const std::int64_t gridLine = std::int64_t{*commentLines} + 3;
    const std::int64_t periodLine = gridLine + 2;
    const std::int64_t extentLine = gridLine + 3;
    // 5000 characters hold at most 5001 lines, so a larger N needs no splitting to fail.
    if (extentLine > static_cast<std::int64_t>(text.size()))
        return std::nullopt;
    const auto lines = linesOf(text, static_cast<std::size_t>(extentLine) + 1);
    if (extentLine >= static_cast<std::int64_t>(lines.size()))
        return std::nullopt;

    InputFileInfo info;

    const auto grid = splitFields(lines[static_cast<std::size_t>(gridLine)]);
    if (grid.size() < 4)
        return std::nullopt;
    const auto spacing = parseRealNumber(grid[grid.size() - 4]);
    if (!spacing)
        return std::nullopt;
    info.gridSpacingKm = *spacing;
    info.gridLineText = std::string(lines[static_cast<std::size_t>(gridLine)]);
    readGridLayout(grid, info);

    const auto period = splitFields(lines[static_cast<std::size_t>(periodLine)]);
    if (period.size() < 2)
        return std::nullopt;
    const auto start = parseDateHourStamp(period[0]);
    const auto hourCount = parseInt32(period[1]);
    if (!start || stampValue(period[0]) > largestStampValue)
        return std::nullopt;
    if (!hourCount || *hourCount < 1 || *start + hours{*hourCount - 1} > latestHour)
        return std::nullopt;
    info.startStamp = std::string(period[0]);
    info.firstHour = *start;
    info.hourCount = *hourCount;

    const auto extent = splitFields(lines[static_cast<std::size_t>(extentLine)]);
    if (extent.size() < 10)
        return std::nullopt;
    for (std::size_t n = 0; n < 10; ++n)
        info.extentText[n] = std::string(extent[n]);
    std::array<std::int16_t*, 6> indexes = {&info.iStart, &info.jStart,     &info.iEnd,
                                            &info.jEnd,   &info.levelStart, &info.levelEnd};
    for (std::size_t n = 0; n < indexes.size(); ++n) {
        const auto value = parseWholeNumber(extent[n]);
        if (!value)
            return std::nullopt;
        *indexes[n] = *value;
    }
    std::array<double*, 4> angles = {&info.lonStart, &info.lonEnd, &info.latStart, &info.latEnd};
    for (std::size_t n = 0; n < angles.size(); ++n) {
        const auto value = parseRealNumber(extent[6 + n]);
        if (!value)
            return std::nullopt;
        *angles[n] = *value;
    }

    info.path = path;
    return info;
}

std::optional<InputFileInfo> readHeader(const std::string& path)
{
    try {
        const auto text = readFileStart(path, headerReadSize);
        if (!text)
            return std::nullopt;
        return parseHeader(*text, path);
    } catch (...) {
        // No memory for 5000 characters: the header is as unreadable as a missing file.
        return std::nullopt;
    }
}

} // namespace gridloom
