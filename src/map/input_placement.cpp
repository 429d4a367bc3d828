#include "map/input_placement.h"

#include "common/numbers.h"
#include "map/grid_outline.h"
#include "map/projection.h"

#include <algorithm>
#include <cmath>
#include <variant>

namespace gridloom {

namespace {

std::string whyNotOnGrid(const HeaderGrid& grid, bool understood)
{
    if (understood)
        return "its grid line does not match its extent line";
    const auto* unreadable = std::get_if<UnreadableGrid>(&grid);
    if (!unreadable || unreadable->reason == UnreadableGrid::Reason::UnreadableNumbers)
        return "its LCC grid line cannot be read";
    return "its projection " +
           (unreadable->projection.empty() ? std::string("(none)") : unreadable->projection) +
           " is not supported";
}

// The coarsest decimal any of the extent line's four angles was written to.
double angleRounding(const InputFileInfo& input)
{
    double unit = 0.0;
    for (std::size_t field = 6; field < 10; ++field)
        unit = std::max(unit, lastDecimalUnit(input.extentText[field]));
    return unit;
}

// The extent line's box the short way round from its first longitude to its last, as a grid
// under 180 degrees wide lies; limits a whole turn apart go round a pole.
Polyline extentOutline(const InputFileInfo& input)
{
    const double written = input.lonEnd - input.lonStart;
    const double span =
        std::abs(written) >= 359.0 ? std::copysign(360.0, written) : std::remainder(written, 360.0);
    const double west = std::min(input.lonStart, input.lonStart + span);
    return rectangleOutline(west, input.latStart, west + std::abs(span), input.latEnd);
}

} // namespace

PlacedInput placeInput(const InputFileInfo& input, ProjectionSet& projections)
{
    PlacedInput placed;
    const CellRange cells{input.iStart, input.jStart, input.iEnd, input.jEnd};
    const Extent extent{input.lonStart, input.lonEnd, input.latStart, input.latEnd};
    const auto* grid = std::get_if<GridDefinition>(&input.grid);
    std::string definition = grid ? projectionDefinition(*grid) : std::string();
    auto projection = grid ? projections.of(definition) : nullptr;
    if (projection && agreesWithExtent(*grid, *projection, cells, extent, angleRounding(input))) {
        placed.ownKm = cellBlockOutline(*grid, cells);
        placed.lonLat = placed.ownKm;
        projection->inverse(placed.lonLat);
        placed.grid = *grid;
        placed.projection = std::move(projection);
        placed.projectionDefinition = std::move(definition);
        return placed;
    }
    placed.approximateReason = whyNotOnGrid(input.grid, projection != nullptr);
    placed.lonLat = extentOutline(input);
    return placed;
}

// The header reader takes the fourth field from the end of the grid line as the spacing,
// which is the spacing only when every field stands apart; a grid line that defines a grid
// settles it, one that names a grid but cannot be read leaves it unknown.
std::string spacingText(const InputFileInfo& input)
{
    if (const auto* grid = std::get_if<GridDefinition>(&input.grid))
        return formatGeneral(grid->spacingKm) + " km";
    const bool namesGrid =
        std::get<UnreadableGrid>(input.grid).reason == UnreadableGrid::Reason::UnreadableNumbers;
    if (namesGrid || !(input.gridSpacingKm > 0.0) || !std::isfinite(input.gridSpacingKm))
        return unreadableSpacing;
    return formatGeneral(input.gridSpacingKm) + " km";
}

} // namespace gridloom
