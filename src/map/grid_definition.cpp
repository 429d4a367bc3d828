#include "map/grid_definition.h"

#include "common/numbers.h"

#include <cmath>
#include <vector>

namespace gridloom {

namespace {

std::vector<std::string_view> blankSeparated(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start < line.size()) {
        const auto end = line.find_first_of(" \t\r", start);
        if (end != start)
            fields.push_back(line.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return fields;
}

bool isLatitude(double value)
{
    return std::abs(value) <= 90.0;
}

} // namespace

std::optional<GridDefinition> parseGridLine(std::string_view line)
{
    const auto fields = blankSeparated(line);
    if (fields.size() != 11 || fields[0] != "LCC")
        return std::nullopt;
    double values[10];
    for (std::size_t n = 1; n < fields.size(); ++n) {
        const auto value = parseRealNumber(fields[n]);
        if (!value)
            return std::nullopt;
        values[n - 1] = *value;
    }
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
    const bool counts = values[7] >= 1.0 && values[8] >= 1.0 && values[7] < 1e6 && values[8] < 1e6;
    if (!isLatitude(grid.originLat) || !isLatitude(grid.trueLat1) || !isLatitude(grid.trueLat2) ||
        std::abs(grid.originLon) > 360.0 || !sameHemisphere || !(grid.spacingKm > 0.0) || !counts)
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
