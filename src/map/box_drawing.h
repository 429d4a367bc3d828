#pragma once

#include "common/drawn_box.h"
#include "map/geometry.h"
#include "map/map_scene.h"
#include "map/map_viewport.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace gridloom {

class Projection;

/// The edges of a box that a drag moves.
struct BoxEdges {
    bool west = false;
    bool east = false;
    bool south = false;
    bool north = false;
    bool any() const { return west || east || south || north; }
};

/// A drag of a box in its coordinate type's own terms: the box as it was when the drag began,
/// and the edges that follow the pointer.
struct BoxDrag {
    Extent from;
    BoxEdges moving;
    /// The first axis is longitude: the pointer's longitude is taken on the side of the box's
    /// middle where it is nearest, so a drag across the date line goes on across it.
    bool longitudes = false;
};

/// A new box drawn from `anchor`: the pointer carries its east and north edges, which swap
/// sides with the anchor's when the pointer passes it.
BoxDrag newBoxDrag(MapPoint anchor, bool longitudes);

/// The box once the pointer is at `point`, west <= east and south <= north.
Extent dragTo(const BoxDrag& drag, MapPoint point);

/// The whole cells of `grid` a box of `km` touches, clamped to `limits`. A cell counts only
/// when the box reaches into it, not when it merely ends on its edge.
CellRange cellsCovering(const GridDefinition& grid, const Extent& km, const CellRange& limits);

/// The cell of `grid` whose area holds `km`; nothing outside `limits`.
std::optional<std::pair<int, int>> cellAt(const GridDefinition& grid, const CellRange& limits,
                                          MapPoint km);

/// Where boxes of one coordinate type live on a scene: longitude/latitude for LatLon (and when
/// no listed file has a known grid), else the kilometres of the grid of the file whose limits
/// the main window shows, or of the first file with a known grid.
class BoxFrame final {
public:
    BoxFrame(const MapScene& scene, CoordinateType type);
    ~BoxFrame();
    BoxFrame(BoxFrame&&) noexcept;
    BoxFrame& operator=(BoxFrame&&) noexcept;

    CoordinateType type() const { return m_type; }
    /// True when the frame's coordinates are longitude and latitude.
    bool geographic() const;
    /// A point of the view in the frame's coordinates; nothing where the view has no earth.
    std::optional<MapPoint> fromView(MapPoint viewKm) const;
    /// The box as its type defines it, in view kilometres: a longitude/latitude box follows its
    /// meridians and parallels, an index box is widened to whole cells.
    Polyline viewRing(const Extent& box) const;
    /// The scene's confirmed output domain in the frame's coordinates; nothing when there is
    /// none or it cannot be placed.
    std::optional<Extent> confirmedBox() const;
    /// The box in every form the coordinate dialog takes.
    DrawnBox describe(const Extent& box) const;
    /// The values of a corner at `point`, written beside the pointer while dragging.
    std::string cornerText(MapPoint point) const;
    /// Points in the frame's coordinates, in view kilometres; those that cannot be placed
    /// are left out.
    Polyline toView(Polyline points) const;
    /// The box as it is drawn, in the frame's coordinates: widened to whole cells for an
    /// index box.
    Extent shownBox(const Extent& box) const;

private:
    CoordinateType m_type;
    DomainSelection m_confirmed;
    std::optional<SceneGrid> m_grid;
    bool m_gridIsLimitsFile = false;
    std::shared_ptr<const Projection> m_view;
    std::shared_ptr<const Projection> m_gridProjection;
};

/// The edges of `box` within `reach` pixels of `pixel` as the viewport shows it: one edge, a
/// corner's two, or none.
BoxEdges edgesNear(const BoxFrame& frame, const Extent& box, const MapViewport& viewport,
                   MapPoint pixel, double reach);

/// "39.2500°N 97.5000°W": a longitude/latitude point in decimal degrees with hemispheres.
std::string geographicText(MapPoint lonLat, int decimals);

} // namespace gridloom
