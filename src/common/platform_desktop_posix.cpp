// The desktop's platform layer on POSIX systems: the mounted file systems' roots, and a console
// through a terminal emulator (Terminal on macOS).
#include "common/platform_desktop.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>

namespace gridloom {

namespace {

/// Kernel and runtime mounts hold no working directories; listing them would bury the disks.
bool isSystemMount(const QString& root)
{
    static const QStringList systemPrefixes{QStringLiteral("/proc"), QStringLiteral("/sys"),
                                            QStringLiteral("/dev"), QStringLiteral("/run")};
    for (const QString& prefix : systemPrefixes) {
        if (root == prefix || root.startsWith(prefix + QLatin1Char('/')))
            return !root.startsWith(QStringLiteral("/run/media/"));
    }
    return false;
}

/// The arguments that make the named terminal run the script with /bin/sh (so the script needs
/// no execute permission on its file system).
[[maybe_unused]] QStringList terminalArguments(const QString& terminal, const QString& scriptPath)
{
    const QString name = QFileInfo(terminal).fileName();
    const QStringList command{QStringLiteral("/bin/sh"), scriptPath};
    // gnome-terminal takes the command after "--"; xfce4-terminal's -e wants one string and
    // -x the rest of the line; the others follow xterm's "-e program arguments...".
    if (name == QStringLiteral("gnome-terminal"))
        return QStringList{QStringLiteral("--")} + command;
    if (name == QStringLiteral("xfce4-terminal"))
        return QStringList{QStringLiteral("-x")} + command;
    return QStringList{QStringLiteral("-e")} + command;
}

/// The terminal emulators looked for, in order of preference.
[[maybe_unused]] QStringList terminalCandidates()
{
    return {QStringLiteral("x-terminal-emulator"), QStringLiteral("gnome-terminal"),
            QStringLiteral("konsole"), QStringLiteral("xfce4-terminal"), QStringLiteral("xterm")};
}

} // namespace

QStringList storageRoots()
{
    QStringList result{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        // Container set-ups mount single files too; only folders can be working directories.
        if (!volume.isValid() || result.contains(root) || isSystemMount(root) ||
            !QFileInfo(root).isDir())
            continue;
        result << root;
    }
    return result;
}

std::optional<QString> prepareConsoleStart(QProcess& process, const QString& scriptPath)
{
#ifdef Q_OS_MACOS
    process.setProgram(QStringLiteral("open"));
    process.setArguments({QStringLiteral("-a"), QStringLiteral("Terminal"), scriptPath});
    return std::nullopt;
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
    process.setProgram(terminal);
    process.setArguments(terminalArguments(terminal, scriptPath));
    return std::nullopt;
#endif
}

} // namespace gridloom
