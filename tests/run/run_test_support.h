#pragma once

#include "run/process_starter.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <optional>

// Helpers the tests of the Run action share: the stand-in processor, and a starter that
// really runs the script with /bin/sh, without a terminal.
namespace gridloom::testing {

/// The bytes of a file, or an empty array when it cannot be read.
inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Copies the stand-in processor into `folder` under the processor's name, executable.
inline bool placeStandIn(const QString& folder, const QString& toolName)
{
    const QString target = QDir(folder).filePath(toolName);
    QFile::remove(target);
    return QFile::copy(QStringLiteral(GRIDLOOM_STAND_IN_PROCESSOR), target) &&
           QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                             QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                             QFileDevice::ExeOther);
}

/// What the stand-in writes when started as `program` with `argument` (none when empty) in
/// `directory`, having read `controlFile` with the given content.
inline QByteArray standInRecord(const QString& program, const QString& argument,
                                const QString& directory, const QString& controlFile,
                                const QByteArray& content)
{
    QByteArray record = "program: " + program.toUtf8() + '\n';
    if (!argument.isEmpty())
        record += "argument: " + argument.toUtf8() + '\n';
    record += "directory: " + QFile::encodeName(directory) + '\n';
    record += "control file: " + controlFile.toUtf8() + '\n';
    return record + content;
}

/// Runs the script at once with /bin/sh, from `callerDirectory`, with an empty standard input
/// so that its final wait for Enter returns; remembers what it was given.
class ShellRunningStarter final : public ProcessStarter {
public:
    explicit ShellRunningStarter(QString callerDirectory) : m_caller(std::move(callerDirectory)) {}

    std::optional<QString> startInConsole(const QString& scriptPath,
                                          const QString& workingDirectory) override
    {
        scripts << scriptPath;
        directories << workingDirectory;
        QProcess shell;
        shell.setWorkingDirectory(m_caller);
        shell.setStandardInputFile(QProcess::nullDevice());
        shell.start(QStringLiteral("/bin/sh"), {scriptPath});
        if (!shell.waitForFinished(15000))
            return QStringLiteral("the script did not finish");
        output = shell.readAllStandardOutput() + shell.readAllStandardError();
        return std::nullopt;
    }

    QStringList scripts;
    QStringList directories;
    QByteArray output;

private:
    QString m_caller;
};

} // namespace gridloom::testing
