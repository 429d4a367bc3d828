#pragma once

#include <QColor>

namespace gridloom {

/// The one colour for "look here": clashing hours, gaps, files on another grid. The hours strip,
/// its legend and the map all use it, so a warning on one reads the same on the others.
inline constexpr QColor warningColour(232, 89, 12);

} // namespace gridloom
