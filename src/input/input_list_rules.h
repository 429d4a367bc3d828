#pragma once

#include "common/date_hour.h"
#include "common/input_file_info.h"
#include "common/job_settings.h"
#include "common/text_encoding.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace gridloom {

/// Shown when a header cannot be read.
inline constexpr std::string_view unreadableHeaderMessage =
    "Unable to read the MM5 file header, please check the format";
inline constexpr std::string_view tooManyMergeFilesMessage =
    "A maximum of 3 files can be merged in space";
inline constexpr std::string_view finerGridMessage =
    "The domain resolution in this file is higher that the previous one. Files must be entered "
    "from the highest resolution to the lowest";
inline constexpr std::string_view differentStartMessage =
    "All the 3d.dat files must have the same Start date and time";
inline constexpr std::string_view differentEndMessage =
    "All the 3d.dat files must have the same End date and time";
inline constexpr std::string_view pathTooLongMessage =
    "The selected path/filename may not exceed 132 characters in length.";

/// How many files a merge takes at most.
inline constexpr std::size_t maximumMergeFiles = 3;
/// How many characters an input path may have.
inline constexpr std::size_t maximumPathLength = 132;

/// What the list remembers of the last file it accepted, in any mode. Clearing the list keeps
/// it; the defaults are the state before any file was accepted.
struct LastFileState {
    std::array<std::string, 10> extentText;
    double gridSpacingKm = -1.0;
    DateHour firstHour{};
    std::int32_t hourCount = 0;
};

/// The state that an accepted file leaves behind.
LastFileState lastFileStateOf(const InputFileInfo& info);

/// Merge mode: why the file may not join a list of `listedCount` files whose last accepted file
/// is `last`, as the message to show; nothing when it may. Checks the count, then the grid
/// order (finest first, equal spacing allowed), then the first hour, then the hour count, and
/// reports only the first that fails.
std::optional<std::string> mergeRefusal(std::size_t listedCount, const LastFileState& last,
                                        const InputFileInfo& candidate);

/// The background the list takes after a path check.
enum class ListColour { White, Yellow };

/// The outcome of checking a chosen path against the length limit.
struct PathCheck {
    /// The path to list: the path itself, its short form, or empty when it cannot be used.
    std::string path;
    ListColour colour = ListColour::White;
    /// True when the path-length message must be shown.
    bool tooLong = false;
    bool operator==(const PathCheck&) const = default;
};

/// The path-length rule: a path of at most 132 characters is used as it is; a longer one is
/// replaced by its short form, which is refused with the message when it is still longer than
/// 132 characters. An empty short form gives an empty path without the message. Characters are
/// counted in `encoding`, the one the path is written in.
PathCheck checkPathLength(const std::string& path,
                          const std::function<std::string(const std::string&)>& shortPathOf,
                          TextEncoding encoding);

/// The paths of the listed files, each as listed. A set, so that adding many files costs each
/// one a look-up and not a pass over the whole list.
using ListedPaths = std::unordered_set<std::string>;

/// True when one of the listed paths is exactly `path`, letter case included.
bool isFileListed(const ListedPaths& listed, const std::string& path);

/// What Add File makes of one chosen path, judged against the list as it stands.
struct AddFileDecision {
    /// The path check: the form to list and the list's colour afterwards.
    PathCheck check;
    /// The header of a file that may be added; empty when it is refused.
    std::optional<InputFileInfo> accepted;
    /// The message of a refusal that is shown (the path-length one when check.tooLong); empty
    /// when the file is accepted and for the quiet refusals (no usable path, already listed).
    std::optional<std::string> refusal;
    /// True when the path is already listed.
    bool alreadyListed = false;
};

/// The rules of Add File in their order: the path's length, the path already listed, the
/// header, then in Merge mode the rules against the last accepted file.
AddFileDecision decideAddFile(const std::string& chosen, ProcessingMode mode,
                              const ListedPaths& listed, const LastFileState& last,
                              const std::function<std::string(const std::string&)>& shortPathOf,
                              TextEncoding encoding);

/// The ten limit texts of a stored record, in extent-line order: the indices as plain integers
/// and the angles in the general number format.
std::array<std::string, 10> limitTextsOf(const InputFileInfo& info);

} // namespace gridloom
