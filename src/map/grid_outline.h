#pragma once

#include "common/grid_definition.h"
#include "map/geometry.h"

#include <optional>
#include <string_view>

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
/// own projection; nothing when a centre cannot be placed. Longitudes run on from the first
/// centre, so a block across the 180th meridian has east beyond 180 or west below -180. A
/// block around a pole has every longitude: east is then west + 360, and the latitude on the
/// pole's side is that of the centre nearest the pole.
std::optional<Extent> cellCentreExtent(const GridDefinition& grid, const Projection& projection,
                                       const CellRange& cells);

/// True when the cell centres over `cells` reach the extent line's limits to within a quarter
/// of a cell plus half of `writtenTo`, the unit of the last decimal the limits were written
/// with: the grid line and the extent line then describe the same grid. Longitudes are
/// compared round the globe, west and east in either order; around a pole only latitudes are.
bool agreesWithExtent(const GridDefinition& grid, const Projection& projection,
                      const CellRange& cells, const Extent& extent, double writtenTo = 0.0);

/// The unit of the last decimal of a number as written: 0.01 for "37.20", 1 for "37", 100 for
/// "1.5e3"; 0 for text that is no number, whose rounding is not known.
double lastDecimalUnit(std::string_view written);

/// What a block of cells covers: the ring through the centres of its outermost cells, since
/// nothing is known of the field between a data point and the next one that is not there. In
/// the grid's kilometres, closed, starting at the north-west corner and going clockwise,
/// `perSide` points to a side.
Polyline cellBlockOutline(const GridDefinition& grid, const CellRange& cells, int perSide = 24);

/// A rectangle from (x1, y1) to (x2, y2), closed, north-west corner first, clockwise, with
/// `perSide` points to a side so it can bend when drawn in another projection.
Polyline rectangleOutline(double x1, double y1, double x2, double y2, int perSide = 24);

} // namespace gridloom
