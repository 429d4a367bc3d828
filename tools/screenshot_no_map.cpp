// The screenshot tool of a build without the map module, such as the Windows build.
#include "screenshot_map.h"

#include <cstdio>

bool gridloom::tools::saveDomainMap(const QDir& folder)
{
    std::printf("no %s: this build has no map module\n",
                qPrintable(folder.filePath(QStringLiteral("domain_map.png"))));
    return true;
}
