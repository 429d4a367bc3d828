#include "map/grid_outline.h"

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
    return box;
}

bool agreesWithExtent(const GridDefinition& grid, const Projection& projection,
                      const CellRange& cells, const Extent& extent)
{
    const auto centres = cellCentreExtent(grid, projection, cells);
    if (!centres)
        return false;
    const double latTolerance = 0.5 * grid.spacingKm / kmPerDegree;
    const double steepest = std::max(std::abs(centres->south), std::abs(centres->north));
    const double lonTolerance =
        latTolerance / std::max(std::cos(steepest * std::numbers::pi / 180.0), 0.01);
    const auto near = [](double a, double b, double tolerance, bool longitude) {
        return std::abs(longitude ? longitudeDifference(a, b) : a - b) <= tolerance;
    };
    return near(centres->west, std::min(extent.west, extent.east), lonTolerance, true) &&
           near(centres->east, std::max(extent.west, extent.east), lonTolerance, true) &&
           near(centres->south, std::min(extent.south, extent.north), latTolerance, false) &&
           near(centres->north, std::max(extent.south, extent.north), latTolerance, false);
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
    const double half = 0.5 * grid.spacingKm;
    return rectangleOutline(cellCentreX(grid, cells.i1) - half, cellCentreY(grid, cells.j1) - half,
                            cellCentreX(grid, cells.i2) + half, cellCentreY(grid, cells.j2) + half,
                            perSide);
}

} // namespace gridloom
