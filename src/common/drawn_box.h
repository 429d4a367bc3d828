#pragma once

#include "common/job_settings.h"

#include <array>
#include <optional>

namespace gridloom {

/// A box the user drew on the domain map, in every form the coordinate dialog can take it.
/// The map computes the numbers; the dialog only writes them into its fields.
struct DrawnBox {
    /// The coordinate type the box was drawn in.
    CoordinateType type = CoordinateType::None;
    /// West, east, south, north in decimal degrees, east and north positive, each within
    /// -180..180 and -90..90.
    std::array<double, 4> lonLat{};
    /// West, east, south, north in kilometres of the grid projection of the file whose limits
    /// the main window shows; nothing when no listed file has a known grid.
    std::optional<std::array<double, 4>> km;
    /// i start, i end, j start, j end: the whole cells of that file the box covers, within the
    /// file's index range; nothing when that file has no known grid.
    std::optional<std::array<int, 4>> cells;
};

} // namespace gridloom
