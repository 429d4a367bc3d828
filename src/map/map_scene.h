#pragma once

#include "map/geometry.h"
#include "map/map_snapshot.h"

#include <string>
#include <vector>

namespace gridloom {

/// One outline the map draws, in the view projection's kilometres.
struct SceneShape {
    enum class Role { Input, Confirmed, Entered };
    Role role = Role::Input;
    /// The position in the input list, from 0; -1 for the output boxes.
    int input = -1;
    /// A closed ring, first point at the shape's north-west corner.
    Polyline ring;
    /// Written beside the outline on the map.
    std::string label;
    /// Drawn from the extent line's longitude/latitude box, not from the grid.
    bool approximate = false;
    /// Part of a problem the legend names.
    bool problem = false;
};

/// One line of the legend.
struct LegendLine {
    enum class Style { Input, Confirmed, Entered, Problem, Note };
    Style style = Style::Note;
    int input = -1;
    std::string text;
};

/// What the map shows of a job: the projection to draw in, the outlines and the legend.
struct MapScene {
    /// A PROJ definition in kilometres: the first valid grid's projection, or a plain
    /// longitude/latitude view centred on what there is to show.
    std::string viewDefinition;
    std::vector<SceneShape> shapes;
    std::vector<LegendLine> legend;
};

/// Turns a job snapshot into what the map draws. Needs PROJ, nothing else; never fails: what
/// cannot be drawn is left out and said so in the legend.
MapScene buildScene(const MapSnapshot& snapshot);

/// The box around every point of the scene's shapes, in view kilometres; all zero for a scene
/// without shapes.
Extent sceneBounds(const MapScene& scene);

} // namespace gridloom
