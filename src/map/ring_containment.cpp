#include "map/ring_containment.h"

#include <algorithm>
#include <cmath>

namespace gridloom {

namespace {

// How close to an outline's edge a point may lie and still count as inside it, in view
// kilometres: grids that share an edge are nested, not crossing.
constexpr double edgeTolerance = 1e-3;

bool onSegment(const MapPoint& p, const MapPoint& a, const MapPoint& b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double t =
        length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y) <= edgeTolerance;
}

bool pointInRing(const MapPoint& p, const Polyline& ring)
{
    bool inside = false;
    for (std::size_t n = 0, m = ring.size() - 1; n < ring.size(); m = n++) {
        const MapPoint& a = ring[n];
        const MapPoint& b = ring[m];
        if (onSegment(p, a, b))
            return true;
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

} // namespace

bool ringInside(const Polyline& inner, const Polyline& outer)
{
    if (outer.size() < 3)
        return false;
    return std::all_of(inner.begin(), inner.end(),
                       [&outer](const MapPoint& p) { return pointInRing(p, outer); });
}

} // namespace gridloom
