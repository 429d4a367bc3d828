#include "input/grid_line.h"

#include "common/numbers.h"
#include "input/header_reader.h"

#include <cmath>
#include <vector>

namespace gridloom {

namespace {

bool isLatitude(double value)
{
    return std::abs(value) <= 90.0;
}

// No grid reaches further than once round the globe from its origin, on either side; what does
// is a misread line, and projecting it would only cost time.
bool onGlobe(double southWest, double spacing, double cells)
{
    constexpr double roundTheGlobe = 40100.0;
    return std::abs(southWest) <= roundTheGlobe &&
           std::abs(southWest + spacing * (cells - 1)) <= roundTheGlobe;
}

// Fixed-width writers leave no space before a minus sign when a number fills its width, so
// "-2699.020-2339.860" is two numbers. A sign after a digit or a point starts a new number;
// one after an exponent letter belongs to it.
std::vector<std::string_view> separateNumbers(const std::vector<std::string_view>& fields)
{
    std::vector<std::string_view> numbers;
    for (std::string_view field : fields) {
        std::size_t start = 0;
        for (std::size_t n = 1; n < field.size(); ++n) {
            const char before = field[n - 1];
            const bool afterNumber = (before >= '0' && before <= '9') || before == '.';
            if ((field[n] == '-' || field[n] == '+') && afterNumber) {
                numbers.push_back(field.substr(start, n - start));
                start = n;
            }
        }
        numbers.push_back(field.substr(start));
    }
    return numbers;
}

HeaderGrid gridOf(const std::vector<std::string_view>& fields)
{
    const auto unreadable = [&fields] {
        const std::string named = fields.empty() ? std::string() : std::string(fields.front());
        return UnreadableGrid{named == "LCC" ? UnreadableGrid::Reason::UnreadableNumbers
                                             : UnreadableGrid::Reason::UnsupportedProjection,
                              named};
    };
    const auto numbers = separateNumbers(fields);
    if (numbers.size() != 11 || numbers[0] != "LCC")
        return unreadable();
    double values[10];
    for (std::size_t n = 1; n < numbers.size(); ++n) {
        const auto value = parseRealNumber(numbers[n]);
        if (!value)
            return unreadable();
        values[n - 1] = *value;
    }
    // The counts are checked before they are made whole numbers, which a huge one cannot be.
    const bool counts = values[7] >= 1.0 && values[8] >= 1.0 && values[7] < 1e6 &&
                        values[8] < 1e6 && values[7] == std::floor(values[7]) &&
                        values[8] == std::floor(values[8]);
    if (!counts)
        return unreadable();
    const GridDefinition grid{values[0], values[1], values[2], values[3],
                              values[4], values[5], values[6]};
    // A cone needs its standard parallels on one side of the equator; PROJ refuses the rest.
    const bool sameHemisphere = grid.trueLat1 * grid.trueLat2 > 0.0;
    if (!isLatitude(grid.originLat) || !isLatitude(grid.trueLat1) || !isLatitude(grid.trueLat2) ||
        std::abs(grid.originLon) > 360.0 || !sameHemisphere || !(grid.spacingKm > 0.0) ||
        !onGlobe(grid.xSouthWest, grid.spacingKm, values[7]) ||
        !onGlobe(grid.ySouthWest, grid.spacingKm, values[8]))
        return unreadable();
    return grid;
}

} // namespace

std::optional<GridLine> readGridLine(std::string_view line)
{
    const auto fields = splitFields(line);
    if (fields.size() < 4)
        return std::nullopt;
    const std::size_t spacing = fields.size() - 4;
    const auto spacingKm = parseRealNumber(fields[spacing]);
    if (!spacingKm)
        return std::nullopt;
    GridLine read{*spacingKm, std::nullopt, std::nullopt, gridOf(fields)};
    const auto nx = parseInt32(fields[spacing + 1]);
    const auto ny = parseInt32(fields[spacing + 2]);
    const auto nz = parseInt32(fields[spacing + 3]);
    if (nx && ny && nz)
        read.cells = GridCells{*nx, *ny, *nz};
    if (spacing >= 2) {
        const auto x = parseRealNumber(fields[spacing - 2]);
        const auto y = parseRealNumber(fields[spacing - 1]);
        if (x && y)
            read.originKm = GridOrigin{*x, *y};
    }
    return read;
}

HeaderGrid parseGridLine(std::string_view line)
{
    return gridOf(splitFields(line));
}

} // namespace gridloom
