#include "common/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace gridloom {

std::string shortPath(const std::string& path)
{
#ifdef _WIN32
    char buffer[256];
    const DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    // A result that does not fit reports the size it would need; the buffer holds nothing then.
    if (n == 0 || n >= sizeof buffer)
        return {};
    return std::string(buffer, n);
#else
    return path;
#endif
}

char pathSeparator()
{
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

bool isOrdinaryFile(const std::string& path)
{
    std::error_code error;
    return !path.empty() && fs::is_regular_file(fs::path(path), error);
}

bool dirExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && fs::is_directory(fs::path(path), error);
}

bool pathExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && fs::exists(fs::path(path), error);
}

namespace {

bool wildcardMatch(std::string_view pattern, std::string_view name)
{
    // Iterative matcher with one back-tracking point for the last '*'.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool isSeparator(char c)
{
    return c == '/' || c == pathSeparator();
}

} // namespace

bool patternMatchesFile(const std::string& pattern)
{
    if (pattern.empty())
        return false;
    std::string folder;
    std::string namePattern;
    if (isSeparator(pattern.back())) {
        folder = pattern;
        namePattern = "*";
    } else {
        const auto cut = pattern.find_last_of(pathSeparator() == '/' ? "/" : "/\\");
        folder = cut == std::string::npos ? std::string(".") : pattern.substr(0, cut + 1);
        namePattern = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
    }
    if (namePattern.find_first_of("*?") == std::string::npos)
        return isOrdinaryFile(pattern);

    std::error_code error;
    fs::directory_iterator it(fs::path(folder), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) &&
            wildcardMatch(namePattern, it->path().filename().string()))
            return true;
    }
    return false;
}

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes)
{
    const fs::path target = fs::path(path);
    std::random_device seed;
    const fs::path temporary =
        target.parent_path() /
        fs::path("." + target.filename().string() + ".tmp" + std::to_string(seed() % 1000000));
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return "Unable to create " + temporary.string() + ": " + std::strerror(errno);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            const std::string reason = std::strerror(errno);
            out.close();
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return "Unable to write " + path + ": " + reason;
        }
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return "Unable to replace " + path + ": " + error.message();
    }
    return std::nullopt;
}

} // namespace gridloom
