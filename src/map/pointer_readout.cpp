#include "map/pointer_readout.h"

#include "common/numbers.h"
#include "map/box_drawing.h"
#include "map/projection.h"

namespace gridloom {

std::string pointerText(std::optional<MapPoint> lonLat, MapPoint viewKm,
                        const std::vector<FileCell>& cells)
{
    std::string text = lonLat ? geographicText(*lonLat, 4) + "   " : std::string();
    text += "X " + formatFixed(viewKm.x, 1) + " km, Y " + formatFixed(viewKm.y, 1) + " km";
    for (const FileCell& cell : cells)
        text += "   file " + std::to_string(cell.input + 1) + ": i " + std::to_string(cell.i) +
                ", j " + std::to_string(cell.j);
    return text;
}

PointerReadout::PointerReadout(const MapScene& scene) : m_view(scene.view), m_grids(scene.grids) {}

PointerReadout::~PointerReadout() = default;

std::string PointerReadout::textAt(MapPoint viewKm) const
{
    const std::optional<MapPoint> lonLat =
        m_view ? m_view->inverse(viewKm) : std::optional<MapPoint>();
    std::vector<FileCell> cells;
    for (const SceneGrid& grid : m_grids) {
        if (!grid.projection)
            continue;
        // A grid in the view's projection reads the view's kilometres as they are.
        std::optional<MapPoint> km =
            grid.projection == m_view ? std::optional(viewKm) : std::nullopt;
        if (!km && lonLat)
            km = grid.projection->forward(*lonLat);
        if (!km)
            continue;
        if (const auto cell = cellAt(grid.grid, grid.cells, *km))
            cells.push_back({grid.inputIndex, cell->first, cell->second});
    }
    return pointerText(lonLat, viewKm, cells);
}

} // namespace gridloom
