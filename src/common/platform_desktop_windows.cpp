// The desktop's platform layer on Windows.
#include "common/platform_desktop.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace gridloom {

QStringList storageRoots()
{
    QStringList result;
    for (const QFileInfo& drive : QDir::drives())
        result << QDir::toNativeSeparators(drive.absoluteFilePath());
    return result;
}

std::optional<QString> prepareConsoleStart(QProcess& process, const QString& scriptPath)
{
    // cmd.exe expands "%name%" in its own command line, quotes or not, and has no escape for a
    // "%" there; a folder called "%TEMP%" would send the console elsewhere. The script lies in
    // the folder the console starts in, so its name alone is enough, and names carry no "%".
    const QFileInfo script(scriptPath);
    const bool inStartFolder =
        !process.workingDirectory().isEmpty() &&
        QDir::cleanPath(QDir(process.workingDirectory()).absolutePath())
                .compare(QDir::cleanPath(script.absolutePath()), Qt::CaseInsensitive) == 0;
    const QString named =
        inStartFolder ? script.fileName() : QDir::toNativeSeparators(script.absoluteFilePath());
    // "start" opens the console window; its first quoted argument is the window title, so an
    // empty title goes first. Native arguments keep QProcess from quoting the line again.
    process.setProgram(QStringLiteral("cmd.exe"));
    process.setNativeArguments(QStringLiteral("/c start \"\" \"%1\"").arg(named));
    return std::nullopt;
}

} // namespace gridloom
