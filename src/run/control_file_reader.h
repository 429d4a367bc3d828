#pragma once

// The inverse of the control-file writers: a control file, whether this program, a colleague or
// an editor wrote it, read back into the job it describes. The layout is told by its fixed
// texts, never by the file's name. Reading only parses and checks the file's own form; whether
// its input files and its box are acceptable is for the same rules that judge what a user
// enters.

#include "common/job_settings.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace gridloom {

/// The largest control file read: room for thousands of input files, and a bound on what a
/// file chosen by mistake costs.
inline constexpr std::size_t maximumControlFileSize = 1 << 20;

/// A date and whole hour as a control file stamps it (YYYYMMDDHH).
struct StampedHour {
    std::chrono::year_month_day date;
    int hour = 0;
    bool operator==(const StampedHour&) const = default;
};

/// A job as its control file states it. What the window keeps as text stays text, exactly as
/// the file writes it, so that writing the job again gives the same bytes.
struct ReadJob {
    ProcessingMode mode = ProcessingMode::Extract;
    /// XY or LatLon for a merge; IJK for an extraction.
    CoordinateType coordinateType = CoordinateType::IJK;
    /// Empty when the file carries the processor's no-title text.
    std::string title;
    /// What the output-name field holds: a merge's output file, or an extraction's base name
    /// from which the writer makes the line with "???" again.
    std::string outputName;
    StampedHour start;
    StampedHour end;
    /// Extractions only: the days-per-file text, a whole number.
    std::string daysPerFile;
    std::vector<std::string> inputPaths;
    /// The box as written, each a number: six (i1,i2,j1,j2,k1,k2) for an extraction, four (X or
    /// longitude start and end, Y or latitude start and end) for a merge.
    std::vector<std::string> bounds;
    /// Line numbers, from 1, for what is judged after reading: the two stamps, the first input
    /// file and the first line of the box (a merge's Y values stand on the next).
    std::size_t startLine = 0;
    std::size_t endLine = 0;
    std::size_t firstInputLine = 0;
    std::size_t boundsLine = 0;
};

/// Why a file cannot be read as a control file: the line (from 1; 0 for the file as a whole)
/// and what was expected there.
struct ReadError {
    std::size_t line = 0;
    std::string expected;
    bool operator==(const ReadError&) const = default;
};

using ControlFileRead = std::variant<ReadJob, ReadError>;

/// Reads the text of an extraction or a merge control file. Lines end with CR LF or LF alone;
/// the comment block after the data lines is not read.
ControlFileRead parseControlFile(std::string_view text);

/// Reads the control file at `path`: an ordinary file of at most maximumControlFileSize
/// bytes, read without waiting on pipes or devices.
ControlFileRead readControlFile(const std::string& path);

/// The message that refuses to open the control file at `path`: `what` went wrong at `line`
/// (0: the file as a whole).
std::string controlFileRefusal(const std::string& path, std::size_t line, std::string_view what);

/// The same for a read error.
std::string controlFileRefusal(const std::string& path, const ReadError& error);

} // namespace gridloom
