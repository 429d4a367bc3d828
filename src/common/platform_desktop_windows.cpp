// The desktop's platform layer on Windows.
#include "common/platform_desktop.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <windows.h>

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
    // cmd.exe expands "%name%" on its own command line, quoted or not, and has no escape for a
    // "%" there; "start" expands it even in the folder it starts in. So no "start": cmd.exe
    // itself gets a console of its own, and the script lies in the folder it starts in, where
    // its name alone is enough (names carry no "%"). /k keeps the console open after the
    // script, as "start" does.
    const QFileInfo script(scriptPath);
    const bool inStartFolder =
        !process.workingDirectory().isEmpty() &&
        QDir::cleanPath(QDir(process.workingDirectory()).absolutePath())
                .compare(QDir::cleanPath(script.absolutePath()), Qt::CaseInsensitive) == 0;
    const QString named =
        inStartFolder ? script.fileName() : QDir::toNativeSeparators(script.absoluteFilePath());
    process.setProgram(QStringLiteral("cmd.exe"));
    // Native arguments keep QProcess from quoting the line again.
    process.setNativeArguments(QStringLiteral("/d /k \"%1\"").arg(named));
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* arguments) {
        arguments->flags = (arguments->flags & ~DWORD(CREATE_NO_WINDOW)) | CREATE_NEW_CONSOLE;
    });
    return std::nullopt;
}

} // namespace gridloom
