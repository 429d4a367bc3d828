#pragma once

#include <QDir>
#include <QWidget>

namespace gridloom::tools {

/// Writes the widget's picture to `name` in the folder and says so on standard output.
bool save(QWidget& widget, const QDir& folder, const char* name);

/// The domain map of two nested grids, as domain_map.png and domain_map_drawing.png; in a
/// build without the map module it says why there is no picture and succeeds.
bool saveDomainMap(const QDir& folder);

} // namespace gridloom::tools
