// A map module from another build, for the loader's refusal: the creating function under the
// real name, and, when built with STAND_IN_VERSION, a version other than the program's.
// Creating a map from it ends the test program, so a loader that calls it unchecked fails.
#include "map/domain_map_view.h"

#include <QtGlobal>
#include <cstdlib>

#ifdef STAND_IN_VERSION
extern "C" Q_DECL_EXPORT int gridloomDomainMapVersion()
{
    return gridloom::domainMapInterfaceVersion + 1;
}
#endif

extern "C" Q_DECL_EXPORT gridloom::DomainMapView* gridloomCreateDomainMap(QWidget*)
{
    std::abort();
}
