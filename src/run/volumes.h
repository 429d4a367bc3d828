#pragma once

#include <QString>
#include <QStringList>

namespace gridloom {

/// The file-system roots the working-directory chooser offers: drives on Windows, the roots
/// of mounted volumes elsewhere ("/" first). Tests give their own.
class Volumes {
public:
    virtual ~Volumes() = default;
    /// The roots, in the order the drive list shows them.
    virtual QStringList roots() const = 0;
    /// False when the volume cannot be read: not ready, no medium, or gone.
    virtual bool isReady(const QString& root) const = 0;
};

} // namespace gridloom
