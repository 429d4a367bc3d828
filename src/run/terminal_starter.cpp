#include "run/terminal_starter.h"

#include "common/platform_desktop.h"

#include <QDir>
#include <QProcess>

namespace gridloom {

std::optional<QString> TerminalStarter::startInConsole(const QString& scriptPath,
                                                       const QString& workingDirectory)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    if (auto failure = prepareConsoleStart(process, scriptPath))
        return failure;
    qint64 processId = 0;
    if (!process.startDetached(&processId))
        return QStringLiteral("Unable to start %1 to run %2: %3")
            .arg(process.program(), QDir::toNativeSeparators(scriptPath), process.errorString());
    m_lastProcessId = processId;
    return std::nullopt;
}

} // namespace gridloom
