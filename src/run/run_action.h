#pragma once

#include "common/job_settings.h"

#include <QString>
#include <optional>

namespace gridloom {

class Messages;
class ProcessStarter;

/// What the Run button does: check the job, write the processor's control file and run
/// script into the working directory, and start the script in a console without waiting.
class RunAction final {
public:
    RunAction(Messages& messages, ProcessStarter& starter, QString programFolder);
    /// Validates the job, writes the control file and the run script, starts the script.
    /// May complete job.outputName (Merge ".m3d"); the caller shows the new name in its field.
    /// Shows the busy pointer while it works. Every failure ends in one message (jobError).
    void run(JobSettings& job);

private:
    /// Everything after the job check; returns the failure message, if any.
    std::optional<QString> prepareAndStart(const JobSettings& job);

    Messages& m_messages;
    ProcessStarter& m_starter;
    QString m_programFolder;
};

} // namespace gridloom
