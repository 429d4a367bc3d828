#pragma once

#include "common/date_hour.h"
#include "common/job_settings.h"
#include "common/text_encoding.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace gridloom {

struct JobCheck;

/// Answers whether anything of the given name exists in the file system.
using PathQuery = std::function<bool(const std::string&)>;

/// Checks a job in the fixed order and stops at the first problem. Touches nothing: the only
/// outside question it asks goes to `exists` (the working directory's existence).
JobCheck validateJob(const JobSettings& job, const PathQuery& exists);

/// The same check against the real file system.
JobCheck validateJob(const JobSettings& job);

/// A job that passed the check, with the period the check read from it. The control-file and
/// run-script writers take nothing else, so no unchecked job can be written and no writer reads
/// the period's fields again. Only the check makes one.
class CheckedJob final {
public:
    /// The settings as checked; a Merge job's output name is the completed one.
    const JobSettings& settings() const { return m_settings; }
    /// The first and the last hour of the output period.
    DateHour start() const { return m_start; }
    DateHour end() const { return m_end; }

private:
    friend JobCheck validateJob(const JobSettings& job, const PathQuery& exists);
    CheckedJob(JobSettings settings, DateHour start, DateHour end)
        : m_settings(std::move(settings)), m_start(start), m_end(end)
    {
    }

    JobSettings m_settings;
    DateHour m_start;
    DateHour m_end;
};

/// What checking a job found: the one message to show, or the job checked.
struct JobCheck {
    /// The refusal shown to the user; empty when the job may run.
    std::optional<std::string> refusal;
    /// The job to write and run; empty on a refusal.
    std::optional<CheckedJob> job;

    [[nodiscard]] bool passed() const { return job.has_value(); }
};

/// The Merge output name completed with ".m3d" unless its trimmed form already has a
/// three-letter extension (a "." fourth character from the end, characters counted in
/// `encoding`), in which case it stays untouched.
std::string completeMergeOutputName(const std::string& outputName, TextEncoding encoding);

} // namespace gridloom
