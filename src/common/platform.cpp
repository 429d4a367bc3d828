#include "common/platform.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace gridloom {

namespace {

/// The path std::filesystem is to use for a path in the system's 8-bit encoding.
fs::path nativePath(const std::string& path)
{
#ifdef _WIN32
    // MinGW's std::filesystem takes each byte of a narrow path for the Unicode character of the
    // same number, which matches no ANSI code page above 127 ("\x80" is the euro sign in code
    // page 1252, not U+0080); the system's own conversion gets them right.
    const int length = static_cast<int>(path.size());
    std::wstring wide(
        static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, path.data(), length, nullptr, 0)),
        L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), length, wide.data(), static_cast<int>(wide.size()));
    return fs::path(wide);
#else
    return fs::path(path);
#endif
}

#ifdef _WIN32
/// The system's description of an error code, in the user's language.
std::string systemMessage(DWORD code)
{
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, sizeof text, nullptr);
    while (length > 0 && std::isspace(static_cast<unsigned char>(text[length - 1])))
        --length;
    return length > 0 ? std::string(text, length) : "error " + std::to_string(code);
}

/// Replacing a file that another program holds open fails as "access denied", which sends the
/// user looking at permissions; only a request to delete it tells the two causes apart.
bool heldOpenElsewhere(const std::string& path)
{
    const HANDLE file =
        CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}
#endif

} // namespace

std::string shortPathThrough(const ShortPathCall& call)
{
    std::string buffer(256, '\0');
    std::size_t n = call(buffer.data(), buffer.size());
    if (n >= buffer.size()) {
        buffer.assign(n, '\0');
        n = call(buffer.data(), buffer.size());
        // The name changed between the two calls (or vanished): as good as a failed call.
        if (n >= buffer.size())
            return {};
    }
    buffer.resize(n);
    return buffer;
}

std::string shortPath(const std::string& path)
{
#ifdef _WIN32
    return shortPathThrough([&path](char* buffer, std::size_t size) {
        return static_cast<std::size_t>(
            GetShortPathNameA(path.c_str(), buffer, static_cast<DWORD>(size)));
    });
#else
    return path;
#endif
}

TextEncoding nativeTextEncoding()
{
#ifdef _WIN32
    // Windows may be set to use UTF-8 as its ANSI code page.
    return GetACP() == CP_UTF8 ? TextEncoding::Utf8 : TextEncoding::SingleByte;
#else
    return TextEncoding::Utf8;
#endif
}

std::optional<std::string> readFileUpTo(const std::string& path, std::size_t size)
{
    std::string bytes(size, '\0');
    std::size_t filled = 0;
#ifdef _WIN32
    // Opening a pipe's or a device's name does not wait; reading from it could.
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const bool ordinary = GetFileType(file) == FILE_TYPE_DISK;
    if (ordinary) {
        DWORD got = 0;
        while (filled < size &&
               ReadFile(file, bytes.data() + filled, static_cast<DWORD>(size - filled), &got,
                        nullptr) &&
               got > 0)
            filled += got;
    }
    CloseHandle(file);
#else
    // Without O_NONBLOCK, opening a named pipe waits for a writer that may never come. The type
    // is asked of what was opened, so the name cannot be swapped for a pipe in between.
    const int file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file < 0)
        return std::nullopt;
    struct stat status {};
    const bool ordinary = ::fstat(file, &status) == 0 && S_ISREG(status.st_mode);
    if (ordinary) {
        while (filled < size) {
            const ssize_t got = ::read(file, bytes.data() + filled, size - filled);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            filled += static_cast<std::size_t>(got);
        }
    }
    ::close(file);
#endif
    if (!ordinary)
        return std::nullopt;
    bytes.resize(filled);
    return bytes;
}

std::optional<std::string> readFileStart(const std::string& path, std::size_t size)
{
    auto bytes = readFileUpTo(path, size);
    if (!bytes || bytes->size() < size)
        return std::nullopt;
    return bytes;
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
    return !path.empty() && fs::is_regular_file(nativePath(path), error);
}

bool dirExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && fs::is_directory(nativePath(path), error);
}

bool pathExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && fs::exists(nativePath(path), error);
}

bool patternMatchesFile(const std::string& pattern)
{
    if (pattern.empty())
        return false;
#ifdef _WIN32
    // Windows' own matching, as its file dialog and command line have it: letter case does not
    // count, "*.*" matches names without a dot, and short names match too.
    std::string query = pattern;
    if (query.back() == '\\' || query.back() == '/')
        query += '*';
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(query.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool found = false;
    do
        found = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    while (!found && FindNextFileA(search, &entry));
    FindClose(search);
    return found;
#else
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
#endif
}

std::optional<std::string> directoryReadError(const std::string& path)
{
    std::error_code error;
    const fs::directory_iterator entries(nativePath(path), error);
    if (error)
        return error.message();
    return std::nullopt;
}

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes)
{
    // The temporary's name is built from the path's own bytes, since a name taken apart by
    // std::filesystem comes back in a different encoding on Windows.
    const auto cut = path.find_last_of(pathSeparator() == '/' ? "/" : "/\\");
    const std::size_t nameStart = cut == std::string::npos ? 0 : cut + 1;
    std::random_device seed;
    const std::string temporary = path.substr(0, nameStart) + "." + path.substr(nameStart) +
                                  ".tmp" + std::to_string(seed() % 1000000);
    {
        std::ofstream out(nativePath(temporary), std::ios::binary | std::ios::trunc);
        if (!out)
            return "Unable to create " + temporary + ": " + std::strerror(errno);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            const std::string reason = std::strerror(errno);
            out.close();
            std::error_code ignored;
            fs::remove(nativePath(temporary), ignored);
            return "Unable to write " + path + ": " + reason;
        }
    }
#ifdef _WIN32
    // The same single rename std::filesystem would make, called directly to keep the system's
    // reason when it fails.
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED && heldOpenElsewhere(path))
            error = ERROR_SHARING_VIOLATION;
        DeleteFileA(temporary.c_str());
        return "Unable to replace " + path + ": " + systemMessage(error);
    }
#else
    std::error_code error;
    fs::rename(nativePath(temporary), nativePath(path), error);
    if (error) {
        std::error_code ignored;
        fs::remove(nativePath(temporary), ignored);
        return "Unable to replace " + path + ": " + error.message();
    }
#endif
    return std::nullopt;
}

} // namespace gridloom
