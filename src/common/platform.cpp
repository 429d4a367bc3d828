#include "common/platform.h"

#include "common/platform_detail.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace gridloom {

using platform_detail::nativePath;

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

std::optional<std::string> readFileStart(const std::string& path, std::size_t size)
{
    auto bytes = readFileUpTo(path, size);
    if (!bytes || bytes->size() < size)
        return std::nullopt;
    return bytes;
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
    return platform_detail::replaceFile(temporary, path);
}

} // namespace gridloom
