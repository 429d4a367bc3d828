#include "input/input_list_rules.h"

#include "common/numbers.h"

#include <algorithm>

namespace gridloom {

LastFileState lastFileStateOf(const InputFileInfo& info)
{
    return LastFileState{info.extentText, info.gridSpacingKm,
                         parseInt32(info.startStamp).value_or(0), info.hourCount};
}

std::optional<std::string> mergeRefusal(std::size_t listedCount, const LastFileState& last,
                                        const InputFileInfo& candidate)
{
    if (listedCount >= maximumMergeFiles)
        return std::string(tooManyMergeFilesMessage);
    if (listedCount == 0)
        return std::nullopt;
    if (last.gridSpacingKm > candidate.gridSpacingKm)
        return std::string(finerGridMessage);
    // A stamp that is no 32-bit number cannot equal the last one.
    if (parseInt32(candidate.startStamp) != last.startStamp)
        return std::string(differentStartMessage);
    if (candidate.hourCount != last.hourCount)
        return std::string(differentEndMessage);
    return std::nullopt;
}

namespace {

// Whether the text is well-formed UTF-8; a path in a single-byte code page almost never is
// once it holds any byte above 127.
bool isUtf8(std::string_view text)
{
    std::size_t n = 0;
    while (n < text.size()) {
        const auto lead = static_cast<unsigned char>(text[n]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x06 ? 2
                                   : (lead >> 4) == 0x0E ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || lead == 0xC0 || lead == 0xC1 || n + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[n + k]) & 0xC0) != 0x80)
                return false;
        }
        n += length;
    }
    return true;
}

} // namespace

std::size_t characterCount(std::string_view text)
{
    if (!isUtf8(text))
        return text.size();
    // Every character has exactly one byte that is not a UTF-8 continuation byte.
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

PathCheck checkPathLength(const std::string& path,
                          const std::function<std::string(const std::string&)>& shortPathOf)
{
    if (characterCount(path) <= maximumPathLength)
        return PathCheck{path, ListColour::White, false};
    std::string shortForm = shortPathOf(path);
    if (characterCount(shortForm) > maximumPathLength)
        return PathCheck{{}, ListColour::Yellow, true};
    return PathCheck{std::move(shortForm), ListColour::White, false};
}

bool isFileListed(const std::vector<std::string>& entries, std::string_view path)
{
    return std::find(entries.begin(), entries.end(), path) != entries.end();
}

std::array<std::string, 10> limitTextsOf(const InputFileInfo& info)
{
    return {std::to_string(info.iStart),     std::to_string(info.jStart),
            std::to_string(info.iEnd),       std::to_string(info.jEnd),
            std::to_string(info.levelStart), std::to_string(info.levelEnd),
            formatGeneral(info.lonStart),    formatGeneral(info.lonEnd),
            formatGeneral(info.latStart),    formatGeneral(info.latEnd)};
}

} // namespace gridloom
