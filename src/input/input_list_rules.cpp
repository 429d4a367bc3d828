#include "input/input_list_rules.h"

#include "common/numbers.h"


namespace gridloom {

LastFileState lastFileStateOf(const InputFileInfo& info)
{
    return LastFileState{info.extentText, info.gridSpacingKm, info.firstHour, info.hourCount};
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
    if (candidate.firstHour != last.firstHour)
        return std::string(differentStartMessage);
    if (candidate.hourCount != last.hourCount)
        return std::string(differentEndMessage);
    return std::nullopt;
}

PathCheck checkPathLength(const std::string& path,
                          const std::function<std::string(const std::string&)>& shortPathOf,
                          TextEncoding encoding)
{
    if (characterCount(path, encoding) <= maximumPathLength)
        return PathCheck{path, ListColour::White, false};
    std::string shortForm = shortPathOf(path);
    if (characterCount(shortForm, encoding) > maximumPathLength)
        return PathCheck{{}, ListColour::Yellow, true};
    return PathCheck{std::move(shortForm), ListColour::White, false};
}

bool isFileListed(const ListedPaths& listed, const std::string& path)
{
    return listed.contains(path);
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
