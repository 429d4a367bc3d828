#pragma once

#include <vector>

namespace gridloom {

/// A point of the map: longitude/latitude in degrees, or x/y in kilometres of a projection,
/// depending on where it is used. Two doubles in a row, as PROJ's array calls take them.
struct MapPoint {
    double x = 0.0;
    double y = 0.0;
};

using Polyline = std::vector<MapPoint>;

/// A box between two meridians and two parallels in degrees (west may pass -180 or 180 when
/// the box straddles the date line), or between x and y limits in kilometres.
struct Extent {
    double west = 0.0;
    double east = 0.0;
    double south = 0.0;
    double north = 0.0;
};

} // namespace gridloom
