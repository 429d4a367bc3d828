#include "run/job_validation.h"

#include "common/numbers.h"
#include "common/platform.h"

#include <chrono>
#include <utility>

namespace gridloom {

namespace {

/// An hour field holds a number but maybe not a whole one in range; text that is no number
/// at all gets a message of its own, since the range message would not tell the user why.
std::optional<std::string> hourRefusal(const std::string& text, const char* which)
{
    if (!parseRealNumber(text))
        return std::string("The ") + which + " hour must be a whole number between 0 and 23";
    return std::nullopt;
}

} // namespace

std::string completeMergeOutputName(const std::string& outputName, TextEncoding encoding)
{
    const std::string_view trimmed = trimBlanks(outputName);
    const std::size_t fourthFromEnd = offsetOfLastCharacters(trimmed, 4, encoding);
    if (characterCount(trimmed, encoding) >= 4 && trimmed[fourthFromEnd] == '.')
        return outputName;
    return std::string(trimmed) + ".m3d";
}

JobCheck validateJob(const JobSettings& job, const PathQuery& exists)
{
    auto refuse = [](std::string message) { return JobCheck{std::move(message), std::nullopt}; };

    const std::string directory(trimBlanks(job.workingDirectory));
    if (directory.empty())
        return refuse("You must enter a working directory");
    if (!exists(directory))
        return refuse("Unable to find working directory " + job.workingDirectory +
                      ". Please make sure it exists");

    if (auto refusal = hourRefusal(job.startHour, "start"))
        return refuse(*refusal);
    if (auto refusal = hourRefusal(job.endHour, "end"))
        return refuse(*refusal);
    // A number outside the 16-bit range is still a number, just not an hour of the day.
    const auto startHour = parseWholeNumber(job.startHour);
    const auto endHour = parseWholeNumber(job.endHour);
    if (!startHour || !endHour || *startHour < 0 || *startHour > 23 || *endHour < 0 ||
        *endHour > 23)
        return refuse("Start and end hours must be between 0 and 23");

    // The dates are calendar days: the time of day a date picker may hold never reaches here.
    const DateHour start = std::chrono::sys_days(job.startDate) + std::chrono::hours(*startHour);
    const DateHour end = std::chrono::sys_days(job.endDate) + std::chrono::hours(*endHour);
    if (!job.startDate.ok() || !job.endDate.ok() || end - start < std::chrono::hours(1))
        return refuse("End date must be later than begin date");

    if (job.inputPaths.empty())
        return refuse("Enter at least one MM5 file");
    if (!job.domain.domainValid)
        return refuse("MM5 domain not specified or not valid");
    if (trimBlanks(job.outputName).empty())
        return refuse("You must enter a output file basename first ");

    if (job.mode == ProcessingMode::Extract) {
        const auto number = parseRealNumber(job.daysPerFile);
        if (!number)
            return refuse("The number of days in output 3D files must be a whole number");
        // A number too large for the processor's 16-bit field does not convert; one too
        // small is simply not greater than 0.
        const auto days = parseWholeNumber(job.daysPerFile);
        if (days ? *days <= 0 : *number < 0)
            return refuse("The number of days in output 3D files must be greater than 0 ");
        if (!days)
            return refuse("The number of days in output 3D files must be at most 32767");
    }
    JobSettings checked = job;
    if (job.mode == ProcessingMode::Merge)
        checked.outputName = completeMergeOutputName(job.outputName, nativeTextEncoding());
    return JobCheck{std::nullopt, CheckedJob(std::move(checked), start, end)};
}

JobCheck validateJob(const JobSettings& job)
{
    return validateJob(job, [](const std::string& path) { return pathExists(path); });
}

} // namespace gridloom
