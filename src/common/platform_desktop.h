#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QProcess;

// The desktop's side of the platform layer: the machine's volumes and its console windows.
// Declared once here; platform_desktop_posix.cpp and platform_desktop_windows.cpp implement it.
namespace gridloom {

/// The roots a working directory can lie under, in native separators: the drives on Windows,
/// elsewhere "/" first and then the roots of the mounted file systems that hold folders.
QStringList storageRoots();

/// Readies the process to open a console window of its own that runs the script (the console
/// starts in the process's working directory): cmd.exe's start on Windows, Terminal on macOS,
/// the first terminal emulator found elsewhere. Returns a text for the user when the system
/// has no program for it.
std::optional<QString> prepareConsoleStart(QProcess& process, const QString& scriptPath);

} // namespace gridloom
