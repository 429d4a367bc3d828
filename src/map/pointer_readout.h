#pragma once

#include "map/geometry.h"
#include "map/map_scene.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace gridloom {

class Projection;

/// The cell of one listed file under the pointer.
struct FileCell {
    /// The position in the input list, from 0.
    int input = 0;
    int i = 0;
    int j = 0;
};

/// The status line for a point: longitude and latitude with hemispheres when the point lies on
/// the earth, X/Y in the view's kilometres, then each covering file's cell, list position first:
/// "39.2500°N 97.5000°W   X -123.4 km, Y 45.6 km   file 1: i 12, j 34".
std::string pointerText(std::optional<MapPoint> lonLat, MapPoint viewKm,
                        const std::vector<FileCell>& cells);

/// Reads a scene at the pointer, through the projections the scene made.
class PointerReadout final {
public:
    explicit PointerReadout(const MapScene& scene);
    ~PointerReadout();
    PointerReadout(const PointerReadout&) = delete;
    PointerReadout& operator=(const PointerReadout&) = delete;

    std::string textAt(MapPoint viewKm) const;

private:
    std::shared_ptr<const Projection> m_view;
    std::vector<SceneGrid> m_grids;
};

} // namespace gridloom
