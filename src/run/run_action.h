#pragma once

#include "common/job_settings.h"

#include <QString>
#include <optional>

namespace gridloom {

class Messages;
class ProcessStarter;

/// The two files a job leaves in its working directory, by their full paths.
struct JobFiles {
    QString controlFile;
    QString runScript;
};

/// What the Run button does: check the job, write the processor's control file and run
/// script into the working directory, and start the script in a console without waiting.
class RunAction final {
public:
    RunAction(Messages& messages, ProcessStarter& starter, QString programFolder);
    /// Validates the job, writes the control file and the run script, starts the script.
    /// May complete job.outputName (Merge ".m3d"); the caller shows the new name in its field.
    /// Shows the busy pointer while it works. Every failure ends in one message (jobError).
    /// Returns the files written, also when the console then failed to start.
    std::optional<JobFiles> run(JobSettings& job);
    /// Everything Run does up to and including writing the run script, without starting it.
    std::optional<JobFiles> writeJobFiles(JobSettings& job);

private:
    /// The job check; false when its message was shown.
    bool check(JobSettings& job);
    /// Writes the control file and the run script of a checked job; returns the files, or
    /// nothing when its one message was shown.
    std::optional<JobFiles> writeFiles(const JobSettings& job);

    Messages& m_messages;
    ProcessStarter& m_starter;
    QString m_programFolder;
};

} // namespace gridloom
