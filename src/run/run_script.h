#pragma once

#include "common/job_settings.h"
#include "run/job_validation.h"

#include <optional>
#include <string>
#include <utility>

namespace gridloom {

/// The two forms a run script takes: a batch file for cmd.exe, a shell script elsewhere.
enum class ScriptForm { Batch, Shell };

/// The form the system runs: Batch on Windows, Shell elsewhere.
ScriptForm nativeScriptForm();

/// What a run script needs: a checked job, and the spelling of its working directory and of
/// the processors' folder the script carries, which the caller decides.
struct ScriptJob {
    ScriptJob(const CheckedJob& job, std::string workingDirectory, std::string programFolder)
        : mode(job.settings().mode), workingDirectory(std::move(workingDirectory)),
          outputName(job.settings().outputName), programFolder(std::move(programFolder))
    {
    }

    /// The same job with its folders named otherwise (their short forms, say).
    ScriptJob withFolders(std::string otherWorkingDirectory, std::string otherProgramFolder) const
    {
        return ScriptJob(mode, std::move(otherWorkingDirectory), outputName,
                         std::move(otherProgramFolder));
    }

    const ProcessingMode mode;
    /// Expected to end with a path separator.
    const std::string workingDirectory;
    /// The output name the check settled (Merge mode copies the control file named after it).
    const std::string outputName;
    /// The folder of the processors' executables, normally without a trailing separator.
    const std::string programFolder;

private:
    ScriptJob(ProcessingMode mode, std::string workingDirectory, std::string outputName,
              std::string programFolder)
        : mode(mode), workingDirectory(std::move(workingDirectory)),
          outputName(std::move(outputName)), programFolder(std::move(programFolder))
    {
    }
};

/// The processor's executable in the program folder: "<folder>\<tool>.exe" for a batch script,
/// "<folder>/<tool>" for a shell script.
std::string processorPath(ScriptForm form, const std::string& programFolder, ProcessingMode mode);

/// The script's file: the working-directory text followed by "run_<tool>.bat" or ".sh".
std::string runScriptPath(ScriptForm form, const std::string& workingDirectory,
                          ProcessingMode mode);

/// The batch script: drive, cd, Copy (Merge only), the processor, pause; CR LF line ends.
/// Every "%" of a path is doubled so that cmd.exe takes it literally.
std::string batchScriptText(const ScriptJob& job);

/// The shell script with the same steps in the same order: cd, cp (Merge only, and not when
/// the control file already is the processor's own), the processor, then a wait for Enter.
/// Nothing but the wait runs when the working directory cannot be entered. Every path is
/// single-quoted, so no character of it is interpreted by the shell. LF line ends, which
/// /bin/sh needs.
std::string shellScriptText(const ScriptJob& job);

/// The text of the given form.
std::string runScriptText(ScriptForm form, const ScriptJob& job);

/// Quotes a text for the POSIX shell so that it stands for exactly itself.
std::string shellQuoted(const std::string& text);

/// Writes the script of the platform's form (mode 0755 where modes exist) in one go, in the
/// code page the console reads it in; returns the reason when it could not.
std::optional<std::string> writeRunScript(const ScriptJob& job);

/// True when the processor's executable lies in the folder as an ordinary file that may be run.
bool processorPresent(const std::string& executable);

} // namespace gridloom
