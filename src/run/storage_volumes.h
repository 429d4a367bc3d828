#pragma once

#include "run/volumes.h"

namespace gridloom {

/// The machine's real volumes: the drives on Windows, the roots of mounted file systems
/// elsewhere ("/" first), each in native separators.
class StorageVolumes final : public Volumes {
public:
    QStringList roots() const override;
    bool isReady(const QString& root) const override;
};

} // namespace gridloom
