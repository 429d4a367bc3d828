#include "run/storage_volumes.h"

#include "common/platform_desktop.h"

#include <QFileInfo>
#include <QStorageInfo>

namespace gridloom {

QStringList StorageVolumes::roots() const
{
    return storageRoots();
}

bool StorageVolumes::isReady(const QString& root) const
{
    const QStorageInfo volume(root);
    return volume.isValid() && volume.isReady() && QFileInfo(root).isDir();
}

} // namespace gridloom
