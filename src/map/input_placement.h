#pragma once

#include "common/grid_definition.h"
#include "common/input_file_info.h"
#include "map/geometry.h"

#include <memory>
#include <optional>
#include <string>

namespace gridloom {

class Projection;
class ProjectionSet;

/// One input file as the map places it: on its own grid when the header's grid can be
/// trusted, as its longitude/latitude box otherwise.
struct PlacedInput {
    /// The file's grid; nothing when it is placed by its extent line.
    std::optional<GridDefinition> grid;
    /// The grid's projection, from the scene's set; null when placed by its extent line.
    std::shared_ptr<const Projection> projection;
    /// The PROJ definition the projection was made from.
    std::string projectionDefinition;
    /// The outline in the grid's own kilometres; empty when placed by its extent line.
    Polyline ownKm;
    Polyline lonLat;
    /// Why the file is not placed on its grid, in the legend's words.
    std::string approximateReason;
};

/// Places a file: on its grid when the grid has a projection and agrees with the extent line,
/// by the extent line's box otherwise.
PlacedInput placeInput(const InputFileInfo& input, ProjectionSet& projections);

/// What the legend prints for a spacing it cannot vouch for.
inline constexpr const char* unreadableSpacing = "spacing unreadable";

/// The spacing as the legend may print it, "12 km", or `unreadableSpacing`.
std::string spacingText(const InputFileInfo& input);

} // namespace gridloom
