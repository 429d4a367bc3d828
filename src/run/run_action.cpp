#include "run/run_action.h"

#include "common/messages.h"
#include "common/native_text.h"
#include "run/control_files.h"
#include "run/job_validation.h"
#include "run/process_starter.h"
#include "run/run_script.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <utility>

namespace gridloom {

namespace {

/// Shows the busy pointer for as long as it lives, whichever way the action ends.
class BusyPointer final {
public:
    BusyPointer() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace

RunAction::RunAction(Messages& messages, ProcessStarter& starter, QString programFolder)
    : m_messages(messages), m_starter(starter), m_programFolder(std::move(programFolder))
{
}

RunOutcome RunAction::run(const JobSettings& job)
{
    return checkAndWrite(job, true);
}

RunOutcome RunAction::writeJobFiles(const JobSettings& job)
{
    return checkAndWrite(job, false);
}

RunOutcome RunAction::checkAndWrite(const JobSettings& job, bool start)
{
    const JobCheck check = validateJob(job);
    if (!check.job) {
        m_messages.jobError(fromNativeText(*check.refusal));
        return {};
    }
    RunOutcome outcome{check.job->settings().outputName, std::nullopt};
    const BusyPointer busy;
    outcome.files = writeFiles(*check.job);
    if (start && outcome.files) {
        const QString& script = outcome.files->runScript;
        if (auto failure = m_starter.startInConsole(script, QFileInfo(script).absolutePath()))
            m_messages.jobError(*failure);
    }
    return outcome;
}

std::optional<JobFiles> RunAction::writeFiles(const CheckedJob& checked)
{
    const JobSettings& job = checked.settings();
    const auto refuse = [this](const QString& message) {
        m_messages.jobError(message);
        return std::nullopt;
    };
    const bool merge = job.mode == ProcessingMode::Merge;
    const std::string controlPath =
        merge ? mergeControlPath(checked) : extractionControlPath(checked);
    if (auto failure = merge ? writeMergeControlFile(checked) : writeExtractionControlFile(checked))
        return refuse(QStringLiteral("The control file %1 could not be written: %2")
                          .arg(fromNativeText(controlPath), fromNativeText(*failure)));

    // The script changes into the working directory itself, from a console that does not
    // share this program's current folder: a relative working directory goes into the script
    // in its absolute form, trailing separator kept.
    QString directory = fromNativeText(job.workingDirectory);
    if (QDir::isRelativePath(directory)) {
        const bool trailingSeparator =
            directory.endsWith(QLatin1Char('/')) || directory.endsWith(QDir::separator());
        directory = QDir::toNativeSeparators(QDir::current().absoluteFilePath(directory));
        if (trailingSeparator && !directory.endsWith(QDir::separator()))
            directory += QDir::separator();
    }

    const ScriptJob script{checked, toNativeText(directory), toNativeText(m_programFolder)};
    if (!processorPresent(processorPath(nativeScriptForm(), script.programFolder, job.mode)))
        return refuse(QStringLiteral(
                          "Can not run Fortran executable, please make sure it is in the folder ") +
                      m_programFolder);

    const QString scriptPath =
        fromNativeText(runScriptPath(nativeScriptForm(), script.workingDirectory, job.mode));
    if (auto failure = writeRunScript(script))
        return refuse(QStringLiteral("The run script %1 could not be written: %2")
                          .arg(scriptPath, fromNativeText(*failure)));

    const QString control = QFileInfo(fromNativeText(controlPath)).absoluteFilePath();
    return JobFiles{QDir::toNativeSeparators(control), scriptPath};
}

} // namespace gridloom
