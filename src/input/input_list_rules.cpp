#include "input/input_list_rules.h"

#include "common/numbers.h"
#include "input/header_reader.h"

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

AddFileDecision decideAddFile(const std::string& chosen, ProcessingMode mode,
                              const ListedPaths& listed, const LastFileState& last,
                              const std::function<std::string(const std::string&)>& shortPathOf,
                              TextEncoding encoding)
{
    AddFileDecision decision{checkPathLength(chosen, shortPathOf, encoding), {}, {}, false};
    if (decision.check.tooLong)
        decision.refusal = std::string(pathTooLongMessage);
    if (decision.check.path.empty())
        return decision;
    if (isFileListed(listed, decision.check.path)) {
        decision.alreadyListed = true;
        return decision;
    }
    auto info = readHeader(decision.check.path);
    if (!info) {
        decision.refusal = std::string(unreadableHeaderMessage);
        return decision;
    }
    if (mode == ProcessingMode::Merge) {
        decision.refusal = mergeRefusal(listed.size(), last, *info);
        if (decision.refusal)
            return decision;
    }
    decision.accepted = std::move(info);
    return decision;
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
