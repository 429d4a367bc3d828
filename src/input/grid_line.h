#pragma once

#include "common/grid_definition.h"
#include "common/input_file_info.h"

#include <optional>
#include <string_view>

namespace gridloom {

/// Everything a header's grid line says, read in one go.
struct GridLine {
    /// The fourth field from the end, which the input list compares grids by.
    double spacingKm = 0.0;
    /// The fields around that spacing, "... xsw ysw spacing nx ny nz", where they are numbers.
    std::optional<GridCells> cells;
    std::optional<GridOrigin> originKm;
    /// The grid the whole line defines, or why it defines none.
    HeaderGrid grid;
};

/// Reads a grid line: nothing when it has fewer than four fields or its fourth field from the
/// end is no number, which makes the whole header unreadable. A line that is no Lambert
/// conformal conic grid is still a readable header; only the map then has no grid to draw.
std::optional<GridLine> readGridLine(std::string_view line);

/// The grid a grid line defines: a Lambert conformal conic grid of sensible numbers, or why the
/// line gives none.
HeaderGrid parseGridLine(std::string_view line);

} // namespace gridloom
