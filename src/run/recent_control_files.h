#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The control files a user opened or wrote lately, newest first, for File > "Recent control
// files". Where the list is kept is the window's business; these are its rules.
namespace gridloom {

/// How many control files the list keeps.
inline constexpr std::size_t recentControlFileCount = 8;

/// The list with `path` in front: an earlier entry of the same path moves up rather than
/// appearing twice, and the oldest entries beyond the count drop off.
std::vector<std::string> withRecentControlFile(std::vector<std::string> recent,
                                               const std::string& path);

/// The list without the entries `stillThere` says are gone.
std::vector<std::string>
withoutGoneControlFiles(std::vector<std::string> recent,
                        const std::function<bool(const std::string&)>& stillThere);

} // namespace gridloom
