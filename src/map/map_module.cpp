// The entry points the program resolves after loading this module, the version first.
#include "map/domain_map_view.h"
#include "map/map_window.h"

extern "C" Q_DECL_EXPORT int gridloomDomainMapVersion()
{
    return gridloom::domainMapInterfaceVersion;
}

extern "C" Q_DECL_EXPORT gridloom::DomainMapView* gridloomCreateDomainMap(QWidget* parent)
{
    return new gridloom::MapWindow(parent);
}
