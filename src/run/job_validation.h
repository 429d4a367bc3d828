#pragma once

#include "common/job_settings.h"
#include "common/text_encoding.h"

#include <functional>
#include <optional>
#include <string>

namespace gridloom {

/// What checking a job found: the one message to show, or the output name the job runs with.
struct JobCheck {
    /// The refusal shown to the user; empty when the job may run.
    std::optional<std::string> refusal;
    /// The output name to use from now on: in Merge mode completed with ".m3d" when it had no
    /// three-letter extension, otherwise as it was. Equal to the job's name on a refusal.
    std::string outputName;

    [[nodiscard]] bool passed() const { return !refusal.has_value(); }
};

/// Answers whether anything of the given name exists in the file system.
using PathQuery = std::function<bool(const std::string&)>;

/// Checks a job in the fixed order and stops at the first problem. Touches nothing: the only
/// outside question it asks goes to `exists` (the working directory's existence).
JobCheck validateJob(const JobSettings& job, const PathQuery& exists);

/// The same check against the real file system.
JobCheck validateJob(const JobSettings& job);

/// The Merge output name completed with ".m3d" unless its trimmed form already has a
/// three-letter extension (a "." fourth character from the end, characters counted in
/// `encoding`), in which case it stays untouched.
std::string completeMergeOutputName(const std::string& outputName, TextEncoding encoding);

} // namespace gridloom
