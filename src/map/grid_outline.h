#pragma once

#include "map/geometry.h"
#include "map/grid_definition.h"

#include <optional>

namespace gridloom {

class Projection;

/// A block of cells i1..i2, j1..j2 of a grid.
struct CellRange {
    int i1 = 1;
    int j1 = 1;
    int i2 = 1;
    int j2 = 1;
};

/// The longitude/latitude extremes of the centres of the cells in `cells`, through the grid's
/// own projection; nothing when a centre cannot be placed. Only the block's edge is projected:
/// inside a domain that does not hold a pole, longitude and latitude take their extremes there.
std::optional<Extent> cellCentreExtent(const GridDefinition& grid, const Projection& projection,
                                       const CellRange& cells);

/// True when the cell centres over `cells` reach the extent line's limits to within half a
/// cell: the grid line and the extent line then describe the same grid.
bool agreesWithExtent(const GridDefinition& grid, const Projection& projection,
                      const CellRange& cells, const Extent& extent);

/// The outer edges of the cells in `cells` in the grid's kilometres, a closed ring starting at
/// the north-west corner and going clockwise, `perSide` points to a side.
Polyline cellBlockOutline(const GridDefinition& grid, const CellRange& cells, int perSide = 24);

/// A rectangle from (x1, y1) to (x2, y2), closed, north-west corner first, clockwise, with
/// `perSide` points to a side so it can bend when drawn in another projection.
Polyline rectangleOutline(double x1, double y1, double x2, double y2, int perSide = 24);

} // namespace gridloom
