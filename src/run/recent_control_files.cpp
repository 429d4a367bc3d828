#include "run/recent_control_files.h"

#include <algorithm>

namespace gridloom {

std::vector<std::string> withRecentControlFile(std::vector<std::string> recent,
                                               const std::string& path)
{
    std::erase(recent, path);
    recent.insert(recent.begin(), path);
    if (recent.size() > recentControlFileCount)
        recent.resize(recentControlFileCount);
    return recent;
}

std::vector<std::string>
withoutGoneControlFiles(std::vector<std::string> recent,
                        const std::function<bool(const std::string&)>& stillThere)
{
    std::erase_if(recent, [&stillThere](const std::string& path) { return !stillThere(path); });
    return recent;
}

} // namespace gridloom
