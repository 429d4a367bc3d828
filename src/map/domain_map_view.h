#pragma once

#include "common/drawn_box.h"
#include "map/map_snapshot.h"

#include <functional>

class QWidget;

namespace gridloom {

/// What the main window sees of the domain map, which lives in a module of its own so that
/// the program loads PROJ, netCDF and the coastlines only when the map is first opened.
class DomainMapView {
public:
    virtual ~DomainMapView() = default;
    /// The map's top-level window; owned by the window it was created for.
    virtual QWidget* window() = 0;
    /// Shows the job as it now is.
    virtual void showSnapshot(const MapSnapshot& snapshot) = 0;
    /// What the program does with a box the user drew: the map never stores it itself.
    virtual void setBoxDrawnHandler(std::function<void(const DrawnBox&)> handler) = 0;
};

/// The version of what the program and the module share: this interface, `MapSnapshot` and
/// `DrawnBox`. Raise it with any change to one of them, so that a module built before the change
/// is refused instead of being handed objects of another shape.
inline constexpr int domainMapInterfaceVersion = 1;

/// The module's first export: the interface version it was built with. The program calls it
/// before it resolves or calls anything else in the module.
using DomainMapVersionFunction = int (*)();
inline constexpr char domainMapVersionSymbol[] = "gridloomDomainMapVersion";

/// The module's second export: a new map window for `parent`, not yet shown.
using CreateDomainMapFunction = DomainMapView* (*)(QWidget* parent);
inline constexpr char createDomainMapSymbol[] = "gridloomCreateDomainMap";

} // namespace gridloom
