#include "run/terminal_starter.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace gridloom {

QStringList TerminalStarter::terminalCandidates()
{
    return {QStringLiteral("x-terminal-emulator"), QStringLiteral("gnome-terminal"),
            QStringLiteral("konsole"), QStringLiteral("xfce4-terminal"), QStringLiteral("xterm")};
}

TerminalCommand TerminalStarter::terminalCommand(const QString& terminal, const QString& scriptPath)
{
    const QString name = QFileInfo(terminal).fileName();
    const QStringList command{QStringLiteral("/bin/sh"), scriptPath};
    // gnome-terminal takes the command after "--"; xfce4-terminal's -e wants one string and
    // -x the rest of the line; the others follow xterm's "-e program arguments...".
    if (name == QStringLiteral("gnome-terminal"))
        return {terminal, QStringList{QStringLiteral("--")} + command};
    if (name == QStringLiteral("xfce4-terminal"))
        return {terminal, QStringList{QStringLiteral("-x")} + command};
    return {terminal, QStringList{QStringLiteral("-e")} + command};
}

std::optional<QString> TerminalStarter::startInConsole(const QString& scriptPath,
                                                       const QString& workingDirectory)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
#if defined(Q_OS_WIN)
    // "start" opens the console window; its first quoted argument is the window title, so
    // an empty title goes first. Native arguments keep QProcess from re-quoting the line.
    process.setProgram(QStringLiteral("cmd.exe"));
    process.setNativeArguments(
        QStringLiteral("/c start \"\" \"%1\"").arg(QDir::toNativeSeparators(scriptPath)));
#elif defined(Q_OS_MACOS)
    process.setProgram(QStringLiteral("open"));
    process.setArguments({QStringLiteral("-a"), QStringLiteral("Terminal"), scriptPath});
#else
    QString terminal;
    for (const QString& candidate : terminalCandidates()) {
        terminal = QStandardPaths::findExecutable(candidate);
        if (!terminal.isEmpty())
            break;
    }
    if (terminal.isEmpty())
        return QStringLiteral("No terminal program was found to run %1 in. Please install one "
                              "of %2, or run the script yourself.")
            .arg(scriptPath, terminalCandidates().join(QStringLiteral(", ")));
    const TerminalCommand command = terminalCommand(terminal, scriptPath);
    process.setProgram(command.program);
    process.setArguments(command.arguments);
#endif
    qint64 processId = 0;
    if (!process.startDetached(&processId))
        return QStringLiteral("Unable to start %1 to run %2: %3")
            .arg(process.program(), QDir::toNativeSeparators(scriptPath), process.errorString());
    m_lastProcessId = processId;
    return std::nullopt;
}

} // namespace gridloom
