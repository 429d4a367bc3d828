// Feeds arbitrary bytes to the control-file reader. Whatever it accepts is written again by the
// writers and read once more: from then on reading and writing must be each other's inverse, the
// second writing giving the first one's bytes. Any crash, sanitizer report or broken promise is a
// finding. Seeds: the worked examples in tests/data.

#include "common/numbers.h"
#include "run/control_file_reader.h"
#include "run/control_files.h"
#include "run/job_validation.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

void require(bool condition, const char* promise)
{
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

/// The job the window holds after opening what was read, written again once it passes the job
/// check (its working directory taken as there); nothing when the check refuses it.
std::optional<std::string> writtenAgain(const gridloom::ReadJob& read)
{
    using namespace gridloom;
    JobSettings job;
    job.mode = read.mode;
    job.coordinateType = read.coordinateType;
    job.title = read.title;
    job.workingDirectory = "work/";
    job.outputName = read.outputName;
    job.inputPaths = read.inputPaths;
    job.startDate = read.start.date;
    job.startHour = std::to_string(read.start.hour);
    job.endDate = read.end.date;
    job.endHour = std::to_string(read.end.hour);
    if (read.mode == ProcessingMode::Extract)
        job.daysPerFile = read.daysPerFile;
    require(read.bounds.size() == (read.mode == ProcessingMode::Merge ? 4u : 6u),
            "a read box has four or six values");
    for (std::size_t i = 0; i < read.bounds.size(); ++i) {
        const auto value = parseRealNumber(read.bounds[i]);
        require(value.has_value(), "every value of a read box is a number");
        job.domain.bounds[i] = *value;
    }
    job.domain.domainValid = true;
    const auto check = validateJob(job, [](const std::string&) { return true; });
    if (!check.job)
        return std::nullopt;
    const auto same = [](const std::string& path) { return path; };
    return read.mode == ProcessingMode::Merge ? mergeControlText(*check.job, same)
                                              : extractionControlText(*check.job, same);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto read = gridloom::parseControlFile(text);
    const auto* job = std::get_if<gridloom::ReadJob>(&read);
    if (job == nullptr) {
        require(std::get<gridloom::ReadError>(read).line >= 1, "a refusal names its line");
        return 0;
    }
    require(!job->inputPaths.empty(), "an accepted file lists its inputs");
    const auto first = writtenAgain(*job);
    if (!first)
        return 0;
    const auto reread = gridloom::parseControlFile(*first);
    const auto* again = std::get_if<gridloom::ReadJob>(&reread);
    require(again != nullptr, "what the writers make of a read file reads again");
    require(writtenAgain(*again) == first, "a written file read back is written the same");
    return 0;
}
