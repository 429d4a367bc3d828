#pragma once

#include "run/process_starter.h"

#include <QStringList>

namespace gridloom {

/// How one terminal program is asked to run a command.
struct TerminalCommand {
    QString program;
    QStringList arguments;
};

/// Starts a run script in a console window of the platform: cmd.exe on Windows, Terminal on
/// macOS, the first terminal emulator found elsewhere. Never waits for the script.
class TerminalStarter final : public ProcessStarter {
public:
    std::optional<QString> startInConsole(const QString& scriptPath,
                                          const QString& workingDirectory) override;

    /// The process identifier of the last console started, 0 before the first start.
    qint64 lastProcessId() const { return m_lastProcessId; }

    /// The terminal emulators looked for, in order of preference.
    static QStringList terminalCandidates();

    /// The command that makes the named terminal run the script with /bin/sh (so the script
    /// needs no execute permission on its file system).
    static TerminalCommand terminalCommand(const QString& terminal, const QString& scriptPath);

private:
    qint64 m_lastProcessId = 0;
};

} // namespace gridloom
