#include "map/grid_definition.h"

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
bool onGlobe(double southWest, double spacing, int cells)
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

} // namespace

std::optional<GridDefinition> parseGridLine(std::string_view line)
{
    const auto fields = separateNumbers(splitFields(line));
    if (fields.size() != 11 || fields[0] != "LCC")
        return std::nullopt;
    double values[10];
    for (std::size_t n = 1; n < fields.size(); ++n) {
        const auto value = parseRealNumber(fields[n]);
        if (!value)
            return std::nullopt;
        values[n - 1] = *value;
    }
    // The counts are checked before they are made whole numbers, which a huge one cannot be.
    const bool counts = values[7] >= 1.0 && values[8] >= 1.0 && values[7] < 1e6 &&
                        values[8] < 1e6 && values[7] == std::floor(values[7]) &&
                        values[8] == std::floor(values[8]);
    if (!counts)
        return std::nullopt;
    GridDefinition grid{values[0],
                        values[1],
                        values[2],
                        values[3],
                        values[4],
                        values[5],
                        values[6],
                        static_cast<int>(values[7]),
                        static_cast<int>(values[8])};
    // A cone needs its standard parallels on one side of the equator; PROJ refuses the rest.
    const bool sameHemisphere = grid.trueLat1 * grid.trueLat2 > 0.0;
    if (!isLatitude(grid.originLat) || !isLatitude(grid.trueLat1) || !isLatitude(grid.trueLat2) ||
        std::abs(grid.originLon) > 360.0 || !sameHemisphere || !(grid.spacingKm > 0.0) ||
        !onGlobe(grid.xSouthWest, grid.spacingKm, grid.nx) ||
        !onGlobe(grid.ySouthWest, grid.spacingKm, grid.ny))
        return std::nullopt;
    return grid;
}

std::string projectionDefinition(const GridDefinition& grid)
{
    return "+proj=lcc +lat_0=" + formatGeneral(grid.originLat) +
           " +lon_0=" + formatGeneral(grid.originLon) + " +lat_1=" + formatGeneral(grid.trueLat1) +
           " +lat_2=" + formatGeneral(grid.trueLat2) + " +R=6370000 +units=km";
}

double cellCentreX(const GridDefinition& grid, double i)
{
    return grid.xSouthWest + (i - 1.0) * grid.spacingKm;
}

double cellCentreY(const GridDefinition& grid, double j)
{
    return grid.ySouthWest + (j - 1.0) * grid.spacingKm;
}

} // namespace gridloom
