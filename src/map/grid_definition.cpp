#include "map/grid_definition.h"

#include "common/numbers.h"
#include "input/header_reader.h"

#include <cmath>

namespace gridloom {

namespace {

bool isLatitude(double value)
{
    return std::abs(value) <= 90.0;
}

} // namespace

std::optional<GridDefinition> parseGridLine(std::string_view line)
{
    const auto fields = splitFields(line);
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
    const bool counts = values[7] >= 1.0 && values[8] >= 1.0 && values[7] < 1e6 && values[8] < 1e6;
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
        std::abs(grid.originLon) > 360.0 || !sameHemisphere || !(grid.spacingKm > 0.0))
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
