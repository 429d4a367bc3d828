#include "run/storage_volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace gridloom {

namespace {

/// Kernel and runtime mounts hold no working directories; listing them would bury the disks.
/// (Windows lists its drive letters instead.)
[[maybe_unused]] bool isSystemMount(const QString& root)
{
    static const QStringList systemPrefixes{QStringLiteral("/proc"), QStringLiteral("/sys"),
                                            QStringLiteral("/dev"), QStringLiteral("/run")};
    for (const QString& prefix : systemPrefixes) {
        if (root == prefix || root.startsWith(prefix + QLatin1Char('/')))
            return !root.startsWith(QStringLiteral("/run/media/"));
    }
    return false;
}

} // namespace

QStringList StorageVolumes::roots() const
{
    QStringList result;
#ifdef Q_OS_WIN
    for (const QFileInfo& drive : QDir::drives())
        result << QDir::toNativeSeparators(drive.absoluteFilePath());
#else
    result << QStringLiteral("/");
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        // Container set-ups mount single files too; only folders can be working directories.
        if (!volume.isValid() || result.contains(root) || isSystemMount(root) ||
            !QFileInfo(root).isDir())
            continue;
        result << root;
    }
#endif
    return result;
}

bool StorageVolumes::isReady(const QString& root) const
{
    const QStorageInfo volume(root);
    return volume.isValid() && volume.isReady() && QFileInfo(root).isDir();
}

} // namespace gridloom
