#pragma once

#include <string>
#include <variant>

namespace gridloom {

/// A Lambert conformal conic grid as a 3D.DAT grid line defines it:
/// "LCC lat0 lon0 truelat1 truelat2 xsw ysw dx nx ny nz". The only projection understood.
/// Its cell counts are not repeated here: they are the line's `GridCells`, read from the same
/// fields for a grid line of any projection.
struct GridDefinition {
    double originLat = 0.0;
    double originLon = 0.0;
    double trueLat1 = 0.0;
    double trueLat2 = 0.0;
    /// Centre of cell (1, 1), kilometres east and north of the projection's origin.
    double xSouthWest = 0.0;
    double ySouthWest = 0.0;
    double spacingKm = 0.0;
};

/// Why a grid line defines no grid.
struct UnreadableGrid {
    enum class Reason {
        /// The line names another projection than Lambert conformal conic.
        UnsupportedProjection,
        /// The line names Lambert conformal conic but its numbers do not make a grid.
        UnreadableNumbers,
    };
    Reason reason = Reason::UnsupportedProjection;
    /// The projection the line names, its first field as written; empty for a blank line.
    std::string projection;
};

/// What a header's grid line says: the grid, or why it gives none. A record that names no grid
/// line at all holds an unsupported, unnamed projection.
using HeaderGrid = std::variant<UnreadableGrid, GridDefinition>;

/// The centre of cell (i, j) in the grid's kilometres.
inline double cellCentreX(const GridDefinition& grid, double i)
{
    return grid.xSouthWest + (i - 1.0) * grid.spacingKm;
}

inline double cellCentreY(const GridDefinition& grid, double j)
{
    return grid.ySouthWest + (j - 1.0) * grid.spacingKm;
}

} // namespace gridloom
