#pragma once

#include "map/domain_map_view.h"

#include <QString>

namespace gridloom {

/// The map module's creating function, or why it could not be had.
struct DomainMapModule {
    CreateDomainMapFunction create = nullptr;
    QString error;
};

/// Loads the map module "gridloom_map_window" from `folder` (the program's own folder) and
/// finds its creating function. The module stays loaded for the rest of the run.
DomainMapModule loadDomainMapModule(const QString& folder);

/// The map's window for `parent`, from the module in `folder`, loaded on the first call. When
/// the module cannot be loaded, a window of the same title says why, in place of the map.
DomainMapView* createDomainMap(QWidget* parent, const QString& folder);

} // namespace gridloom
