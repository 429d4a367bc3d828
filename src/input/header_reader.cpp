#include "input/header_reader.h"

#include "common/date_hour_stamp.h"
#include "common/numbers.h"
#include "common/platform.h"
#include "input/grid_line.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace gridloom {

namespace {

using namespace std::chrono;

// The list compares start stamps as 32-bit integers, so a stamp must fit one: 2147483647 lets
// every day of 2147 through and none of a later year.
constexpr year lastStampYear{2147};

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

    auto grid = readGridLine(lines[static_cast<std::size_t>(gridLine)]);
    if (!grid)
        return std::nullopt;
    info.gridSpacingKm = grid->spacingKm;
    info.gridCells = grid->cells;
    info.gridOriginKm = grid->originKm;
    info.grid = std::move(grid->grid);

    const auto period = splitFields(lines[static_cast<std::size_t>(periodLine)]);
    if (period.size() < 2)
        return std::nullopt;
    const auto start = parseDateHourStamp(period[0]);
    const auto hourCount = parseInt32(period[1]);
    if (!start || calendarDay(*start).year() > lastStampYear)
        return std::nullopt;
    if (!hourCount || *hourCount < 1 || *start + hours{*hourCount - 1} > latestHour)
        return std::nullopt;
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
