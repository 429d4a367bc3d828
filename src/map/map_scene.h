#pragma once

#include "common/grid_definition.h"
#include "map/geometry.h"
#include "map/grid_outline.h"
#include "map/map_snapshot.h"

#include <memory>
#include <string>
#include <vector>

namespace gridloom {

class Projection;

/// One outline the map draws, in the view projection's kilometres.
struct SceneShape {
    enum class Role { Input, Confirmed, Entered };
    Role role = Role::Input;
    /// The file's position in the input list, from 0; -1 for the output boxes.
    int inputIndex = -1;
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
    /// The position in the input list of the file the line is about; -1 for none.
    int inputIndex = -1;
    std::string text;
};

/// An input file placed on its own grid.
struct SceneGrid {
    /// The file's position in the input list, from 0.
    int inputIndex = 0;
    GridDefinition grid;
    /// The file's cells, from its extent line.
    CellRange cells;
    /// The grid's projection, made once for the scene: the same object as every other grid's
    /// of the same definition, and as the view's when the view is drawn in it.
    std::shared_ptr<const Projection> projection;
};

/// What the map shows of a job: the projection to draw in, the outlines and the legend.
struct MapScene {
    /// A PROJ definition in kilometres: the first valid grid's projection, or a plain
    /// longitude/latitude view centred on what there is to show.
    std::string viewDefinition;
    /// The projection `viewDefinition` names, made once; null when PROJ refuses it.
    std::shared_ptr<const Projection> view;
    std::vector<SceneShape> shapes;
    std::vector<LegendLine> legend;
    /// The inputs whose grids are known, in list order.
    std::vector<SceneGrid> grids;
    /// The main window's coordinate type, in which a drawn box is made.
    CoordinateType boxType = CoordinateType::None;
    /// The confirmed output domain as stored, read in `boxType`.
    DomainSelection confirmed;
    /// The input whose limits the main window shows; -1 for none.
    int limitsInput = -1;
};

/// Turns a job snapshot into what the map draws. Needs PROJ, nothing else; never fails: what
/// cannot be drawn is left out and said so in the legend.
MapScene buildScene(const MapSnapshot& snapshot);

/// The box around every point of the scene's shapes, in view kilometres; all zero for a scene
/// without shapes.
Extent sceneBounds(const MapScene& scene);

} // namespace gridloom
