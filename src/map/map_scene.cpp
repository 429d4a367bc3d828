#include "map/map_scene.h"

#include "common/numbers.h"
#include "map/grid_outline.h"
#include "map/input_placement.h"
#include "map/projection.h"
#include "map/ring_containment.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace gridloom {

namespace {

std::string fileName(std::size_t index)
{
    return "file " + std::to_string(index + 1);
}

// The ring of an output box: in longitude/latitude, or for kilometres and cells already in the
// view's kilometres, since the view is the projection of the grid they are measured on; or why
// it cannot be placed.
struct PlacedBox {
    Polyline ring;
    bool inViewKm = false;
    std::string whyNot;
};

PlacedBox placeBox(CoordinateType type, const DomainSelection& domain, const PlacedInput* onGrid)
{
    const auto& b = domain.bounds;
    PlacedBox box;
    switch (type) {
    case CoordinateType::LatLon:
        box.ring = rectangleOutline(b[0], b[2], b[1], b[3]);
        break;
    case CoordinateType::XY:
    case CoordinateType::IJK:
        if (!onGrid) {
            box.whyNot = type == CoordinateType::XY
                             ? "X/Y kilometres need a listed file with a known grid projection"
                             : "grid indices need a listed file with a known grid";
            break;
        }
        box.ring =
            type == CoordinateType::XY
                ? rectangleOutline(b[0], b[2], b[1], b[3])
                : cellBlockOutline(*onGrid->grid,
                                   CellRange{static_cast<int>(b[0]), static_cast<int>(b[2]),
                                             static_cast<int>(b[1]), static_cast<int>(b[3])});
        box.inViewKm = true;
        break;
    case CoordinateType::None:
        break;
    }
    return box;
}

// A plain longitude/latitude view, its scale true at the middle latitude of what it shows.
// Longitudes are taken round the globe from the first point, so what straddles the 180th
// meridian is centred there and not on the far side of the world.
std::string geographicDefinition(const std::vector<const Polyline*>& rings)
{
    std::optional<double> reference;
    Extent box{0.0, 0.0, 90.0, -90.0};
    for (const Polyline* ring : rings) {
        for (const MapPoint& p : *ring) {
            if (!std::isfinite(p.x) || !std::isfinite(p.y))
                continue;
            if (!reference) {
                reference = p.x;
                box.west = box.east = p.x;
            }
            const double lon = *reference + std::remainder(p.x - *reference, 360.0);
            box = {std::min(box.west, lon), std::max(box.east, lon), std::min(box.south, p.y),
                   std::max(box.north, p.y)};
        }
    }
    const double lon = reference ? std::remainder((box.west + box.east) / 2, 360.0) : 0.0;
    const double lat = reference ? std::clamp((box.south + box.north) / 2, -60.0, 60.0) : 0.0;
    return "+proj=eqc +lat_ts=" + formatGeneral(std::round(lat)) +
           " +lon_0=" + formatGeneral(std::round(lon)) + " +R=6370000 +units=km";
}

std::string indexRange(int from, int to)
{
    return std::to_string(from) + "-" + std::to_string(to);
}

// The box's own words for the legend: "output box" or "entered box".
std::string boxName(SceneShape::Role role)
{
    return role == SceneShape::Role::Confirmed ? "output box" : "entered box";
}

void toView(Polyline& ring, const Projection* view)
{
    if (view)
        view->forward(ring);
    else
        ring.clear();
    dropFailedPoints(ring);
}

void addBox(MapScene& scene, const MapSnapshot& snapshot, SceneShape::Role role,
            CoordinateType type, const DomainSelection& domain, const PlacedInput* onGrid,
            const Projection* view)
{
    if (type == CoordinateType::None)
        return;
    const bool confirmed = role == SceneShape::Role::Confirmed;
    PlacedBox placed = placeBox(type, domain, onGrid);
    SceneShape shape{role, -1, std::move(placed.ring), confirmed ? "Output" : "Entered"};
    // A box measured on a grid of another projection than the view's reaches the view through
    // longitude and latitude (the scene makes one projection per definition).
    if (placed.inViewKm && onGrid->projection.get() != view) {
        onGrid->projection->inverse(shape.ring);
        placed.inViewKm = false;
    }
    if (!placed.inViewKm)
        toView(shape.ring, view);
    const auto firstBox = std::find_if(scene.shapes.begin(), scene.shapes.end(),
                                       [](const SceneShape& s) { return s.inputIndex < 0; });
    const auto inputCount = static_cast<std::size_t>(firstBox - scene.shapes.begin());
    scene.legend.push_back(
        {confirmed ? LegendLine::Style::Confirmed : LegendLine::Style::Entered, -1,
         confirmed ? "Output domain (confirmed)" : "Output box as entered (not yet confirmed)"});
    std::vector<std::string> problems;
    if (snapshot.mode == ProcessingMode::Extract && type == CoordinateType::IJK) {
        const auto& b = domain.bounds;
        for (std::size_t n = 0; n < snapshot.inputs.size(); ++n) {
            const InputFileInfo& in = snapshot.inputs[n];
            if (b[0] < in.iStart || b[1] > in.iEnd || b[2] < in.jStart || b[3] > in.jEnd)
                problems.push_back("The " + boxName(role) + " reaches outside " + fileName(n) +
                                   "'s cells i " + indexRange(in.iStart, in.iEnd) + ", j " +
                                   indexRange(in.jStart, in.jEnd));
        }
    }
    if (!placed.whyNot.empty()) {
        scene.legend.push_back({LegendLine::Style::Note, -1,
                                "The " + boxName(role) + " is not drawn: " + placed.whyNot});
    } else if (snapshot.mode == ProcessingMode::Merge && inputCount > 0 &&
               !ringInside(shape.ring, scene.shapes[inputCount - 1].ring)) {
        problems.push_back("The " + boxName(role) + " reaches outside " + fileName(inputCount - 1) +
                           ", the coarsest");
    }
    for (const std::string& problem : problems)
        scene.legend.push_back({LegendLine::Style::Problem, -1, problem});
    shape.problem = !problems.empty();
    if (placed.whyNot.empty())
        scene.shapes.push_back(std::move(shape));
}

} // namespace

MapScene buildScene(const MapSnapshot& snapshot)
{
    MapScene scene;
    scene.boxType = snapshot.coordinateType;
    scene.confirmed = snapshot.confirmed;
    scene.limitsInput = snapshot.limitsInput;
    ProjectionSet projections;
    std::vector<PlacedInput> placed;
    placed.reserve(snapshot.inputs.size());
    for (const InputFileInfo& input : snapshot.inputs)
        placed.push_back(placeInput(input, projections));
    const auto firstOnGrid = std::find_if(placed.begin(), placed.end(),
                                          [](const PlacedInput& p) { return p.grid.has_value(); });
    const PlacedInput* onGrid = firstOnGrid == placed.end() ? nullptr : &*firstOnGrid;

    // A plain longitude/latitude view is centred on the files and the confirmed box.
    std::vector<const Polyline*> lonLatRings;
    lonLatRings.reserve(placed.size() + 1);
    for (const PlacedInput& p : placed)
        lonLatRings.push_back(&p.lonLat);
    const bool latLon = snapshot.coordinateType == CoordinateType::LatLon;
    const PlacedBox confirmedBox =
        placeBox(latLon ? CoordinateType::LatLon : CoordinateType::None, snapshot.confirmed, {});
    if (snapshot.confirmed.domainValid)
        lonLatRings.push_back(&confirmedBox.ring);
    // With nothing else to show, the entered box is what the view centres on.
    const bool enteredOnly = lonLatRings.empty() && snapshot.entered;
    const PlacedBox enteredBox =
        placeBox(enteredOnly ? snapshot.entered->type : CoordinateType::None,
                 enteredOnly ? snapshot.entered->bounds : DomainSelection{}, {});
    if (enteredOnly)
        lonLatRings.push_back(&enteredBox.ring);

    scene.viewDefinition =
        onGrid ? onGrid->projectionDefinition : geographicDefinition(lonLatRings);
    scene.view = projections.of(scene.viewDefinition);
    const Projection* view = scene.view.get();
    if (onGrid) {
        const GridDefinition& grid = *onGrid->grid;
        scene.legend.push_back({LegendLine::Style::Note, -1,
                                "Lambert conformal conic of file " +
                                    std::to_string(firstOnGrid - placed.begin() + 1) +
                                    ", true at " + formatGeneral(grid.trueLat1) + " and " +
                                    formatGeneral(grid.trueLat2) + " degrees"});
    } else {
        scene.legend.push_back({LegendLine::Style::Note, -1,
                                "Plain longitude/latitude: no listed file has a known grid"});
    }

    for (std::size_t n = 0; n < placed.size(); ++n) {
        const InputFileInfo& input = snapshot.inputs[n];
        const bool approximate = !placed[n].grid.has_value();
        const std::string spacing = spacingText(input);
        const bool readable = spacing != unreadableSpacing;
        SceneShape shape{SceneShape::Role::Input,
                         static_cast<int>(n),
                         {},
                         std::to_string(n + 1) + ": " + spacing +
                             (approximate ? (readable ? " approximate" : ", approximate") : ""),
                         approximate};
        // A grid in the view's own projection is drawn from its kilometres: through longitude
        // and latitude a grid around a pole would fold where its cone does not close.
        if (!approximate && placed[n].projection == scene.view) {
            shape.ring = placed[n].ownKm;
        } else {
            shape.ring = placed[n].lonLat;
            toView(shape.ring, view);
        }
        if (placed[n].grid)
            scene.grids.push_back({static_cast<int>(n),
                                   *placed[n].grid,
                                   {input.iStart, input.jStart, input.iEnd, input.jEnd},
                                   placed[n].projection});
        std::string text = std::to_string(n + 1) + ": " +
                           (readable ? spacing + " grid" : "grid " + spacing) + ", cells i " +
                           indexRange(input.iStart, input.iEnd) + ", j " +
                           indexRange(input.jStart, input.jEnd);
        if (approximate)
            text += "; approximate, drawn as its longitude/latitude box: " +
                    placed[n].approximateReason;
        scene.legend.push_back({LegendLine::Style::Input, static_cast<int>(n), text});
        scene.shapes.push_back(std::move(shape));
    }
    if (snapshot.mode == ProcessingMode::Merge) {
        for (std::size_t n = 0; n + 1 < scene.shapes.size(); ++n) {
            if (ringInside(scene.shapes[n].ring, scene.shapes[n + 1].ring))
                continue;
            scene.shapes[n].problem = true;
            scene.legend.push_back({LegendLine::Style::Problem, static_cast<int>(n),
                                    "File " + std::to_string(n + 1) + " (" +
                                        spacingText(snapshot.inputs[n]) + ") does not lie inside " +
                                        fileName(n + 1) + " (" +
                                        spacingText(snapshot.inputs[n + 1]) + ")"});
        }
    }
    // X/Y and index boxes are read on the grid of the file whose limits the main window
    // shows, as the coordinate dialog's fields are filled from it.
    const auto limits = static_cast<std::size_t>(snapshot.limitsInput);
    const PlacedInput* boxGrid =
        snapshot.limitsInput >= 0 && limits < placed.size() && placed[limits].grid ? &placed[limits]
                                                                                   : onGrid;
    if (snapshot.confirmed.domainValid)
        addBox(scene, snapshot, SceneShape::Role::Confirmed, snapshot.coordinateType,
               snapshot.confirmed, boxGrid, view);
    if (snapshot.entered)
        addBox(scene, snapshot, SceneShape::Role::Entered, snapshot.entered->type,
               snapshot.entered->bounds, boxGrid, view);
    return scene;
}

Extent sceneBounds(const MapScene& scene)
{
    Extent box{0, 0, 0, 0};
    bool first = true;
    for (const SceneShape& shape : scene.shapes) {
        for (const MapPoint& p : shape.ring) {
            box = first ? Extent{p.x, p.x, p.y, p.y}
                        : Extent{std::min(box.west, p.x), std::max(box.east, p.x),
                                 std::min(box.south, p.y), std::max(box.north, p.y)};
            first = false;
        }
    }
    return box;
}

} // namespace gridloom
