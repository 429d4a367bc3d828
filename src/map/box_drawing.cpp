#include "map/box_drawing.h"

#include "common/numbers.h"
#include "map/projection.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace gridloom {

namespace {

// Rounding noise in a kilometre value that lands on a cell edge must not add a cell.
constexpr double edgeSlack = 1e-6;
constexpr int pointsPerSide = 32;

// Index positions far outside any grid are brought into int range before they are made whole.
int wholeIndex(double value)
{
    return static_cast<int>(std::clamp(value, -1e6, 1e6));
}

double fractionalIndex(double km, double firstCentre, double spacing)
{
    return (km - firstCentre) / spacing + 1.0;
}

Extent boundsOf(const Polyline& points, bool longitudes)
{
    Extent box{0, 0, 0, 0};
    bool first = true;
    double reference = 0.0;
    for (const MapPoint& p : points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            continue;
        if (first)
            reference = p.x;
        // Longitudes are taken around the first point, so a box across the date line stays
        // one box.
        const double x = longitudes ? reference + std::remainder(p.x - reference, 360.0) : p.x;
        box = first ? Extent{x, x, p.y, p.y}
                    : Extent{std::min(box.west, x), std::max(box.east, x), std::min(box.south, p.y),
                             std::max(box.north, p.y)};
        first = false;
    }
    return box;
}

double distanceToSegment(MapPoint p, MapPoint a, MapPoint b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double t =
        length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

double distanceToLine(MapPoint p, const Polyline& line)
{
    double nearest = std::numeric_limits<double>::infinity();
    for (std::size_t n = 1; n < line.size(); ++n)
        nearest = std::min(nearest, distanceToSegment(p, line[n - 1], line[n]));
    return nearest;
}

Polyline straightLine(MapPoint from, MapPoint to)
{
    Polyline line;
    for (int n = 0; n <= pointsPerSide; ++n) {
        const double t = static_cast<double>(n) / pointsPerSide;
        line.push_back({from.x + t * (to.x - from.x), from.y + t * (to.y - from.y)});
    }
    return line;
}

std::string hemisphereValue(double value, int decimals, char positive, char negative)
{
    return formatFixed(std::abs(value), decimals) + "\xC2\xB0" + (value < 0 ? negative : positive);
}

} // namespace

BoxDrag newBoxDrag(MapPoint anchor, bool longitudes)
{
    return {{anchor.x, anchor.x, anchor.y, anchor.y}, {false, true, false, true}, longitudes};
}

Extent dragTo(const BoxDrag& drag, MapPoint point)
{
    Extent box = drag.from;
    double x = point.x;
    if (drag.longitudes) {
        const double middle = (box.west + box.east) / 2;
        x = middle + std::remainder(x - middle, 360.0);
    }
    if (drag.moving.west)
        box.west = x;
    if (drag.moving.east)
        box.east = x;
    if (drag.moving.south)
        box.south = point.y;
    if (drag.moving.north)
        box.north = point.y;
    return {std::min(box.west, box.east), std::max(box.west, box.east),
            std::min(box.south, box.north), std::max(box.south, box.north)};
}

CellRange cellsCovering(const GridDefinition& grid, const Extent& km, const CellRange& limits)
{
    const double d = grid.spacingKm;
    const int i1 =
        wholeIndex(std::floor(fractionalIndex(km.west, grid.xSouthWest, d) + 0.5 + edgeSlack));
    const int i2 =
        wholeIndex(std::ceil(fractionalIndex(km.east, grid.xSouthWest, d) - 0.5 - edgeSlack));
    const int j1 =
        wholeIndex(std::floor(fractionalIndex(km.south, grid.ySouthWest, d) + 0.5 + edgeSlack));
    const int j2 =
        wholeIndex(std::ceil(fractionalIndex(km.north, grid.ySouthWest, d) - 0.5 - edgeSlack));
    const auto clampI = [&limits](int i) { return std::clamp(i, limits.i1, limits.i2); };
    const auto clampJ = [&limits](int j) { return std::clamp(j, limits.j1, limits.j2); };
    // A box narrower than a cell still covers the cell it lies in.
    return {clampI(std::min(i1, i2)), clampJ(std::min(j1, j2)), clampI(std::max(i1, i2)),
            clampJ(std::max(j1, j2))};
}

std::optional<std::pair<int, int>> cellAt(const GridDefinition& grid, const CellRange& limits,
                                          MapPoint km)
{
    if (!std::isfinite(km.x) || !std::isfinite(km.y))
        return std::nullopt;
    const int i =
        wholeIndex(std::floor(fractionalIndex(km.x, grid.xSouthWest, grid.spacingKm) + 0.5));
    const int j =
        wholeIndex(std::floor(fractionalIndex(km.y, grid.ySouthWest, grid.spacingKm) + 0.5));
    if (i < limits.i1 || i > limits.i2 || j < limits.j1 || j > limits.j2)
        return std::nullopt;
    return std::pair(i, j);
}

BoxFrame::BoxFrame(const MapScene& scene, CoordinateType type)
    : m_type(type), m_confirmed(scene.confirmed), m_view(scene.view)
{
    const auto limitsFile =
        std::find_if(scene.grids.begin(), scene.grids.end(),
                     [&scene](const SceneGrid& g) { return g.inputIndex == scene.limitsInput; });
    const auto chosen = limitsFile != scene.grids.end() ? limitsFile : scene.grids.begin();
    if (chosen == scene.grids.end() || !chosen->projection)
        return;
    m_grid = *chosen;
    m_gridIsLimitsFile = limitsFile != scene.grids.end();
    m_gridProjection = chosen->projection;
}

BoxFrame::~BoxFrame() = default;
BoxFrame::BoxFrame(BoxFrame&&) noexcept = default;
BoxFrame& BoxFrame::operator=(BoxFrame&&) noexcept = default;

bool BoxFrame::geographic() const
{
    const bool onGrid = m_type == CoordinateType::XY || m_type == CoordinateType::IJK;
    return !onGrid || !m_grid;
}

std::optional<MapPoint> BoxFrame::fromView(MapPoint viewKm) const
{
    if (!m_view)
        return std::nullopt;
    // In the grid's own projection the view's kilometres are the grid's.
    if (!geographic() && m_gridProjection == m_view)
        return viewKm;
    const auto lonLat = m_view->inverse(viewKm);
    if (!lonLat || geographic())
        return lonLat;
    return m_gridProjection->forward(*lonLat);
}

Polyline BoxFrame::toView(Polyline points) const
{
    if (!m_view)
        return {};
    if (geographic() || m_gridProjection != m_view) {
        if (!geographic())
            m_gridProjection->inverse(points);
        m_view->forward(points);
    }
    dropFailedPoints(points);
    return points;
}

Extent BoxFrame::shownBox(const Extent& box) const
{
    if (m_type != CoordinateType::IJK || !m_grid)
        return box;
    return boundsOf(
        cellBlockOutline(m_grid->grid, cellsCovering(m_grid->grid, box, m_grid->cells), 1), false);
}

Polyline BoxFrame::viewRing(const Extent& box) const
{
    const Extent shown = shownBox(box);
    return toView(
        rectangleOutline(shown.west, shown.south, shown.east, shown.north, pointsPerSide));
}

std::optional<Extent> BoxFrame::confirmedBox() const
{
    if (!m_confirmed.domainValid || m_type == CoordinateType::None)
        return std::nullopt;
    const auto& b = m_confirmed.bounds;
    if (m_type == CoordinateType::LatLon) {
        // A box whose end lies west of its start goes east across the date line.
        const double east = b[1] < b[0] ? b[1] + 360.0 : b[1];
        return Extent{b[0], east, std::min(b[2], b[3]), std::max(b[2], b[3])};
    }
    if (!m_grid)
        return std::nullopt;
    if (m_type == CoordinateType::XY)
        return Extent{std::min(b[0], b[1]), std::max(b[0], b[1]), std::min(b[2], b[3]),
                      std::max(b[2], b[3])};
    const CellRange cells{wholeIndex(b[0]), wholeIndex(b[2]), wholeIndex(b[1]), wholeIndex(b[3])};
    return boundsOf(cellBlockOutline(m_grid->grid, cells, 1), false);
}

DrawnBox BoxFrame::describe(const Extent& box) const
{
    DrawnBox drawn;
    drawn.type = m_type;
    std::optional<Extent> km;
    if (geographic()) {
        drawn.lonLat = {std::remainder(box.west, 360.0), std::remainder(box.east, 360.0), box.south,
                        box.north};
        if (m_grid) {
            Polyline ring =
                rectangleOutline(box.west, box.south, box.east, box.north, pointsPerSide);
            if (m_gridProjection->forward(ring))
                km = boundsOf(ring, false);
        }
    } else {
        km = shownBox(box);
        Polyline ring = rectangleOutline(km->west, km->south, km->east, km->north, pointsPerSide);
        m_gridProjection->inverse(ring);
        const Extent lonLat = boundsOf(ring, true);
        drawn.lonLat = {std::remainder(lonLat.west, 360.0), std::remainder(lonLat.east, 360.0),
                        lonLat.south, lonLat.north};
    }
    if (km) {
        drawn.km = std::array{km->west, km->east, km->south, km->north};
        if (m_gridIsLimitsFile) {
            const CellRange c = cellsCovering(m_grid->grid, *km, m_grid->cells);
            drawn.cells = std::array{c.i1, c.i2, c.j1, c.j2};
        }
    }
    return drawn;
}

std::string BoxFrame::cornerText(MapPoint point) const
{
    if (geographic())
        return geographicText(point, 4);
    if (m_type == CoordinateType::XY)
        return "X " + formatFixed(point.x, 1) + " km, Y " + formatFixed(point.y, 1) + " km";
    const CellRange cell =
        cellsCovering(m_grid->grid, {point.x, point.x, point.y, point.y}, m_grid->cells);
    return "i " + std::to_string(cell.i1) + ", j " + std::to_string(cell.j1);
}

BoxEdges edgesNear(const BoxFrame& frame, const Extent& box, const MapViewport& viewport,
                   MapPoint pixel, double reach)
{
    const auto pixelsOf = [&](MapPoint from, MapPoint to) {
        Polyline line = frame.toView(straightLine(from, to));
        for (MapPoint& p : line)
            p = viewport.toPixels(p);
        return distanceToLine(pixel, line);
    };
    const Extent b = frame.shownBox(box);
    const double west = pixelsOf({b.west, b.south}, {b.west, b.north});
    const double east = pixelsOf({b.east, b.south}, {b.east, b.north});
    const double south = pixelsOf({b.west, b.south}, {b.east, b.south});
    const double north = pixelsOf({b.west, b.north}, {b.east, b.north});
    BoxEdges edges;
    // In a box a few pixels across, only the nearer of two opposite edges is taken.
    edges.west = west <= reach && west <= east;
    edges.east = east <= reach && east < west;
    edges.south = south <= reach && south <= north;
    edges.north = north <= reach && north < south;
    return edges;
}

std::string geographicText(MapPoint lonLat, int decimals)
{
    return hemisphereValue(lonLat.y, decimals, 'N', 'S') + " " +
           hemisphereValue(std::remainder(lonLat.x, 360.0), decimals, 'E', 'W');
}

} // namespace gridloom
