#include "map/grid_outline.h"

#include "common/numbers.h"
#include "map/projection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gridloom {

namespace {

// Kilometres along a meridian per degree on the grids' sphere, for judging distances only.
constexpr double kmPerDegree = 6370.0 * std::numbers::pi / 180.0;

// The signed difference a - b of two longitudes, brought into -180..180.
double longitudeDifference(double a, double b)
{
    return std::remainder(a - b, 360.0);
}

} // namespace

std::optional<Extent> cellCentreExtent(const GridDefinition& grid, const Projection& projection,
                                       const CellRange& cells)
{
    Polyline edge;
    for (int i = cells.i1; i <= cells.i2; ++i) {
        for (int j = cells.j1; j <= cells.j2; ++j) {
            const bool onEdge = i == cells.i1 || i == cells.i2 || j == cells.j1 || j == cells.j2;
            if (onEdge)
                edge.push_back({cellCentreX(grid, i), cellCentreY(grid, j)});
            else
                j = cells.j2 - 1;
        }
    }
    if (edge.empty() || !projection.inverse(edge))
        return std::nullopt;
    // Longitudes are measured from the first centre, so a grid across the date line stays one
    // piece.
    const double reference = edge.front().x;
    Extent box{reference, reference, edge.front().y, edge.front().y};
    for (const MapPoint& point : edge) {
        const double lon = reference + longitudeDifference(point.x, reference);
        box.west = std::min(box.west, lon);
        box.east = std::max(box.east, lon);
        box.south = std::min(box.south, point.y);
        box.north = std::max(box.north, point.y);
    }
    // The cone's apex is the pole on its side. Latitude falls with the distance from the apex
    // alone, so when the apex lies among the centres the nearest centre is the block's highest
    // (lowest in the south), and the block takes every longitude.
    const double poleLat = grid.trueLat1 > 0 ? 90.0 : -90.0;
    const auto apex = projection.forward(MapPoint{grid.originLon, poleLat});
    if (!apex)
        return box;
    const double x1 = cellCentreX(grid, cells.i1);
    const double x2 = cellCentreX(grid, cells.i2);
    const double y1 = cellCentreY(grid, cells.j1);
    const double y2 = cellCentreY(grid, cells.j2);
    if (!(apex->x >= x1 && apex->x <= x2 && apex->y >= y1 && apex->y <= y2))
        return box;
    const double i = std::clamp(std::round((apex->x - grid.xSouthWest) / grid.spacingKm) + 1.0,
                                static_cast<double>(cells.i1), static_cast<double>(cells.i2));
    const double j = std::clamp(std::round((apex->y - grid.ySouthWest) / grid.spacingKm) + 1.0,
                                static_cast<double>(cells.j1), static_cast<double>(cells.j2));
    const auto nearest = projection.inverse(MapPoint{cellCentreX(grid, i), cellCentreY(grid, j)});
    if (!nearest)
        return std::nullopt;
    box.west = reference - 180.0;
    box.east = reference + 180.0;
    (poleLat > 0 ? box.north : box.south) = nearest->y;
    return box;
}

bool agreesWithExtent(const GridDefinition& grid, const Projection& projection,
                      const CellRange& cells, const Extent& extent, double writtenTo)
{
    const auto centres = cellCentreExtent(grid, projection, cells);
    if (!centres)
        return false;
    // The nearest misreading of a grid is by half a cell: an extent line giving the cells'
    // outer corners instead of their centres. A quarter of a cell lies halfway between that
    // and an exact match, so neither side is within rounding of the decision; what the limits
    // lost in being written is allowed on top.
    const double written = 0.5 * writtenTo;
    const double latTolerance = 0.25 * grid.spacingKm / kmPerDegree + written;
    const double steepest = std::max(std::abs(centres->south), std::abs(centres->north));
    const double lonTolerance = 0.25 * grid.spacingKm / kmPerDegree /
                                    std::max(std::cos(steepest * std::numbers::pi / 180.0), 0.01) +
                                written;
    const auto near = [](double a, double b, double tolerance) {
        return std::abs(a - b) <= tolerance;
    };
    const auto nearLon = [](double a, double b, double tolerance) {
        return std::abs(longitudeDifference(a, b)) <= tolerance;
    };
    const bool latitudes =
        near(centres->south, std::min(extent.south, extent.north), latTolerance) &&
        near(centres->north, std::max(extent.south, extent.north), latTolerance);
    // Round a pole the extent line's longitudes say nothing about where the grid lies.
    if (centres->east - centres->west >= 360.0)
        return latitudes;
    const bool inOrder = nearLon(centres->west, extent.west, lonTolerance) &&
                         nearLon(centres->east, extent.east, lonTolerance);
    const bool swapped = nearLon(centres->west, extent.east, lonTolerance) &&
                         nearLon(centres->east, extent.west, lonTolerance);
    return latitudes && (inOrder || swapped);
}

double lastDecimalUnit(std::string_view written)
{
    if (!parseRealNumber(written))
        return 0.0;
    const auto exponentAt = written.find_first_of("eE");
    const auto mantissa = written.substr(0, exponentAt);
    const auto point = mantissa.find('.');
    const auto decimals = point == std::string_view::npos ? 0 : mantissa.size() - point - 1;
    double exponent = 0.0;
    if (exponentAt != std::string_view::npos) {
        const auto value = parseRealNumber(written.substr(exponentAt + 1));
        if (!value || std::abs(*value) > 300)
            return 1.0;
        exponent = *value;
    }
    return std::pow(10.0, exponent - static_cast<double>(decimals));
}

Polyline rectangleOutline(double x1, double y1, double x2, double y2, int perSide)
{
    const double west = std::min(x1, x2);
    const double east = std::max(x1, x2);
    const double south = std::min(y1, y2);
    const double north = std::max(y1, y2);
    const MapPoint corners[] = {{west, north}, {east, north}, {east, south}, {west, south}};
    Polyline ring;
    ring.reserve(static_cast<std::size_t>(perSide) * 4 + 1);
    for (int side = 0; side < 4; ++side) {
        const MapPoint from = corners[side];
        const MapPoint to = corners[(side + 1) % 4];
        for (int n = 0; n < perSide; ++n) {
            const double t = static_cast<double>(n) / perSide;
            ring.push_back({from.x + t * (to.x - from.x), from.y + t * (to.y - from.y)});
        }
    }
    ring.push_back(ring.front());
    return ring;
}

Polyline cellBlockOutline(const GridDefinition& grid, const CellRange& cells, int perSide)
{
    return rectangleOutline(cellCentreX(grid, cells.i1), cellCentreY(grid, cells.j1),
                            cellCentreX(grid, cells.i2), cellCentreY(grid, cells.j2), perSide);
}

} // namespace gridloom
