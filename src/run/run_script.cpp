#include "run/run_script.h"

#include "common/numbers.h"
#include "common/platform.h"
#include "run/control_files.h"

namespace gridloom {

namespace {

/// cmd.exe expands "%name%" even inside double quotes; "%%" is its escape for a plain "%".
std::string batchLiteral(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        result += c;
        if (c == '%')
            result += '%';
    }
    return result;
}

std::string joined(const std::string& folder, char separator, const std::string& name)
{
    if (!folder.empty() && (folder.back() == separator || folder.back() == '/'))
        return folder + name;
    return folder + separator + name;
}

} // namespace

std::string processorPath(ScriptForm form, const std::string& programFolder, ProcessingMode mode)
{
    const std::string tool = toolName(mode);
    return form == ScriptForm::Batch ? joined(programFolder, '\\', tool + ".exe")
                                     : joined(programFolder, '/', tool);
}

std::string runScriptPath(ScriptForm form, const std::string& workingDirectory, ProcessingMode mode)
{
    return workingDirectory + "run_" + toolName(mode) +
           (form == ScriptForm::Batch ? ".bat" : ".sh");
}

std::string batchScriptText(const ScriptJob& job)
{
    const std::string tool = toolName(job.mode);
    const std::string directory = batchLiteral(job.workingDirectory);
    const std::string executable =
        "\"" + batchLiteral(processorPath(ScriptForm::Batch, job.programFolder, job.mode)) + "\"";

    std::string text;
    auto line = [&text](const std::string& content) { text += content + "\r\n"; };
    line(batchLiteral(
        std::string(firstCharacters(trimBlanks(job.workingDirectory), 2, nativeTextEncoding()))));
    line("cd \"" + directory + "\"");
    if (job.mode == ProcessingMode::Merge) {
        line("Copy \"" + directory + batchLiteral(outputStem(job.outputName)) + ".inp\" " + tool +
             ".inp");
        line(executable);
    } else {
        line(executable + " " + tool + ".inp");
    }
    line("pause");
    return text;
}

std::string shellQuoted(const std::string& text)
{
    // Inside single quotes nothing is special but the single quote itself, which is closed,
    // escaped and reopened.
    std::string result = "'";
    for (const char c : text) {
        if (c == '\'')
            result += "'\\''";
        else
            result += c;
    }
    return result + "'";
}

std::string shellScriptText(const ScriptJob& job)
{
    const std::string tool = toolName(job.mode);
    const std::string executable =
        shellQuoted(processorPath(ScriptForm::Shell, job.programFolder, job.mode));

    // The steps of the batch script in its order, and like it the processor runs even when the
    // copy fails; but a processor started in the wrong folder would write where the user does
    // not look, so nothing runs when the folder cannot be entered. An output named after the
    // processor makes the control file the copy's own target, which cp refuses as an error.
    std::string text = "#!/bin/sh\n";
    text += "if cd -- " + shellQuoted(job.workingDirectory) + "; then\n";
    if (job.mode == ProcessingMode::Merge) {
        const std::string control =
            shellQuoted(job.workingDirectory + outputStem(job.outputName) + ".inp");
        text += "    [ " + control + " -ef " + tool + ".inp ] || cp -- " + control + " " + tool +
                ".inp\n";
        text += "    " + executable + "\n";
    } else {
        text += "    " + executable + " " + tool + ".inp\n";
    }
    text += "fi\n";
    text += "printf '%s' 'Press Enter to close this window '\n";
    text += "read -r answer\n";
    return text;
}

std::string runScriptText(ScriptForm form, const ScriptJob& job)
{
    return form == ScriptForm::Batch ? batchScriptText(job) : shellScriptText(job);
}

ScriptForm nativeScriptForm()
{
    return runsBatchScripts() ? ScriptForm::Batch : ScriptForm::Shell;
}

std::optional<std::string> writeRunScript(const ScriptJob& job)
{
    const ScriptForm form = nativeScriptForm();
    const std::string path = runScriptPath(form, job.workingDirectory, job.mode);
    // A folder name the console's code page cannot spell is named by its short form, which is
    // plain ASCII wherever the volume keeps short names.
    std::optional<std::string> text = consoleText(runScriptText(form, job));
    if (!text) {
        const ScriptJob shortened =
            job.withFolders(shortPath(job.workingDirectory), shortPath(job.programFolder));
        if (!shortened.workingDirectory.empty() && !shortened.programFolder.empty())
            text = consoleText(runScriptText(form, shortened));
    }
    if (!text)
        return "the console cannot read the folder names " + job.workingDirectory + " and " +
               job.programFolder + " in its code page";
    if (auto failure = writeFileAtomically(path, *text))
        return failure;
    if (auto failure = makeRunnable(path))
        return "Unable to make " + path + " executable: " + *failure;
    return std::nullopt;
}

bool processorPresent(const std::string& executable)
{
    return isRunnableFile(executable);
}

} // namespace gridloom
