#pragma once

#include "map/geometry.h"

namespace gridloom {

/// True when every point of `inner` lies inside the closed ring `outer` or on its edge, to
/// within a metre: grids that share an edge are nested, not crossing. A ring of fewer than
/// three points holds nothing.
bool ringInside(const Polyline& inner, const Polyline& outer);

} // namespace gridloom
