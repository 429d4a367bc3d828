#pragma once

#include "run/process_starter.h"

namespace gridloom {

/// Starts a run script in a console window of the platform (common/platform_desktop.h says
/// which). Never waits for the script.
class TerminalStarter final : public ProcessStarter {
public:
    std::optional<QString> startInConsole(const QString& scriptPath,
                                          const QString& workingDirectory) override;

    /// The process identifier of the last console started, 0 before the first start.
    qint64 lastProcessId() const { return m_lastProcessId; }

private:
    qint64 m_lastProcessId = 0;
};

} // namespace gridloom
