// The platform layer on POSIX systems (Linux, macOS).
#include "common/platform.h"
#include "common/platform_detail.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fnmatch.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace gridloom {

namespace platform_detail {

fs::path nativePath(const std::string& path)
{
    return fs::path(path);
}

std::optional<std::string> replaceFile(const std::string& temporary, const std::string& path)
{
    std::error_code error;
    fs::rename(nativePath(temporary), nativePath(path), error);
    if (!error)
        return std::nullopt;
    std::error_code ignored;
    fs::remove(nativePath(temporary), ignored);
    return "Unable to replace " + path + ": " + error.message();
}

} // namespace platform_detail

bool runsBatchScripts()
{
    return false;
}

bool fileNamesIgnoreCase()
{
    return false;
}

bool isRunnableFile(const std::string& path)
{
    if (!isOrdinaryFile(path))
        return false;
    std::error_code error;
    const auto permissions = fs::status(path, error).permissions();
    return !error && (permissions & (fs::perms::owner_exec | fs::perms::group_exec |
                                     fs::perms::others_exec)) != fs::perms::none;
}

std::optional<std::string> makeRunnable(const std::string& path)
{
    std::error_code error;
    fs::permissions(path,
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::replace, error);
    if (error)
        return error.message();
    return std::nullopt;
}

std::optional<std::string> consoleText(const std::string& nativeText)
{
    return nativeText;
}

std::string shortPath(const std::string& path)
{
    return path;
}

TextEncoding nativeTextEncoding()
{
    return TextEncoding::Utf8;
}

char pathSeparator()
{
    return '/';
}

std::optional<std::string> readFileUpTo(const std::string& path, std::size_t size)
{
    // Without O_NONBLOCK, opening a named pipe waits for a writer that may never come. The type
    // is asked of what was opened, so the name cannot be swapped for a pipe in between.
    const int file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file < 0)
        return std::nullopt;
    struct stat status {};
    if (::fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(file);
        return std::nullopt;
    }
    std::string bytes(size, '\0');
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t got = ::read(file, bytes.data() + filled, size - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    ::close(file);
    bytes.resize(filled);
    return bytes;
}

bool patternMatchesFile(const std::string& pattern)
{
    if (pattern.empty())
        return false;
    const auto cut = pattern.rfind('/');
    const std::string folder = cut == std::string::npos ? "." : pattern.substr(0, cut + 1);
    std::string namePattern = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
    if (namePattern.empty())
        namePattern = "*";
    else if (namePattern.find_first_of("*?") == std::string::npos)
        return isOrdinaryFile(pattern);
    // Only "*" and "?" are wildcards here: a "[" stands for itself, as a backslash does.
    for (std::size_t at = namePattern.find('['); at != std::string::npos;
         at = namePattern.find('[', at + 3))
        namePattern.replace(at, 1, "[[]");

    std::error_code error;
    fs::directory_iterator it(fs::path(folder), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) &&
            fnmatch(namePattern.c_str(), it->path().filename().c_str(), FNM_NOESCAPE) == 0)
            return true;
    }
    return false;
}

} // namespace gridloom
