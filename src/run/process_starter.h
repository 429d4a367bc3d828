#pragma once

#include <QString>
#include <optional>

namespace gridloom {

/// Starts a run script in a console window of its own, without waiting for it.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    /// Returns a text for the user when the script could not be started, nothing on success.
    virtual std::optional<QString> startInConsole(const QString& scriptPath,
                                                  const QString& workingDirectory) = 0;
};

} // namespace gridloom
