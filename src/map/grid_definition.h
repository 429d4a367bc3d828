#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace gridloom {

/// The map projection and cell layout a 3D.DAT grid line names. Only Lambert conformal conic
/// grids are understood: "LCC lat0 lon0 truelat1 truelat2 xsw ysw dx nx ny nz".
struct GridDefinition {
    double originLat = 0.0;
    double originLon = 0.0;
    double trueLat1 = 0.0;
    double trueLat2 = 0.0;
    /// Centre of cell (1, 1), kilometres east and north of the projection's origin.
    double xSouthWest = 0.0;
    double ySouthWest = 0.0;
    double spacingKm = 0.0;
    int nx = 0;
    int ny = 0;
};

/// The grid a grid line describes; nothing for another projection or a line that does not
/// hold sensible numbers.
std::optional<GridDefinition> parseGridLine(std::string_view line);

/// The PROJ definition of the grid's projection, in kilometres on the 6370 km sphere that MM5
/// grids are defined on.
std::string projectionDefinition(const GridDefinition& grid);

/// The centre of cell (i, j) in the grid's kilometres.
double cellCentreX(const GridDefinition& grid, double i);
double cellCentreY(const GridDefinition& grid, double j);

} // namespace gridloom
