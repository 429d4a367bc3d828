#pragma once

#include "common/job_settings.h"

#include <QString>
#include <optional>
#include <string>

namespace gridloom {

class Messages;
class ProcessStarter;

/// The two files a job leaves in its working directory, by their full paths.
struct JobFiles {
    QString controlFile;
    QString runScript;
};

/// What Run or Write job files did.
struct RunOutcome {
    /// The output name the job was checked with, which in Merge mode may have been completed
    /// with ".m3d": the caller shows it in its field. Nothing when the check refused the job.
    std::optional<std::string> checkedOutputName;
    /// The files written; nothing when the check or a write failed.
    std::optional<JobFiles> files;
};

class CheckedJob;

/// What the Run button does: check the job, write the processor's control file and run
/// script into the working directory, and start the script in a console without waiting.
class RunAction final {
public:
    RunAction(Messages& messages, ProcessStarter& starter, QString programFolder);
    /// Validates the job, writes the control file and the run script, starts the script.
    /// Shows the busy pointer while it works. Every failure ends in one message (jobError).
    /// The files written are returned also when the console then failed to start.
    RunOutcome run(const JobSettings& job);
    /// Everything Run does up to and including writing the run script, without starting it.
    RunOutcome writeJobFiles(const JobSettings& job);

private:
    /// The job check, then the files of a job that passed it; `start` starts the script.
    RunOutcome checkAndWrite(const JobSettings& job, bool start);
    /// Writes the control file and the run script of a checked job; returns the files, or
    /// nothing when its one message was shown.
    std::optional<JobFiles> writeFiles(const CheckedJob& job);

    Messages& m_messages;
    ProcessStarter& m_starter;
    QString m_programFolder;
};

} // namespace gridloom
