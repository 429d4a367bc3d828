#pragma once

#include "map/geometry.h"

#include <string>
#include <vector>

namespace gridloom {

/// One meridian or parallel, as points in longitude/latitude close enough together to bend
/// smoothly in any projection.
struct GraticuleLine {
    bool meridian = true;
    double degrees = 0.0;
    Polyline points;
};

/// The round step (1, 2, 5, 10, 15, 30 degrees or a fraction of one) that gives about
/// `wanted` lines across `span` degrees.
double graticuleStep(double span, int wanted);

/// Meridians and parallels across the box at every multiple of `step` degrees.
std::vector<GraticuleLine> graticule(const Extent& box, double step);

/// A line's label: "97°W", "40°N", "0.5°E"; longitudes are brought into -180..180.
std::string degreeLabel(double degrees, bool meridian);

} // namespace gridloom
