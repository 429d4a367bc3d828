#pragma once

#include "map/domain_map_view.h"

#include <QString>

namespace gridloom {

/// The map module's creating function, or why it could not be had.
struct DomainMapModule {
    CreateDomainMapFunction create = nullptr;
    QString error;
};

/// Loads the map module "gridloom_map_window" from `folder` (the program's own folder), checks
/// that it was built with this program's interface version and only then finds its creating
/// function. A module from another build (no version, or another one) is refused and unloaded
/// without anything else in it being called. An accepted module stays loaded for the rest of
/// the run.
DomainMapModule loadDomainMapModule(const QString& folder);

/// The map's window for `parent`, from the module in `folder`. When the module cannot be loaded
/// or is refused, a window of the same title says why in one line, in place of the map.
DomainMapView* createDomainMap(QWidget* parent, const QString& folder);

} // namespace gridloom
