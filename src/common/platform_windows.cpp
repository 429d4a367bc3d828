// The platform layer on Windows, through the Windows API's 8-bit ("A") calls: the core's texts
// and file names are in the ANSI code page.
#include "common/platform.h"
#include "common/platform_detail.h"

#include <cctype>
#include <filesystem>
#include <windows.h>

namespace fs = std::filesystem;

namespace gridloom {

namespace {

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

/// The text in UTF-16, read in the given code page.
std::wstring wideText(const std::string& text, UINT codePage)
{
    const int length = static_cast<int>(text.size());
    std::wstring wide(
        static_cast<std::size_t>(MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0)),
        L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(),
                        static_cast<int>(wide.size()));
    return wide;
}

} // namespace

namespace platform_detail {

fs::path nativePath(const std::string& path)
{
    // MinGW's std::filesystem takes each byte of a narrow path for the Unicode character of the
    // same number, which matches no ANSI code page above 127 ("\x80" is the euro sign in code
    // page 1252, not U+0080); the system's own conversion gets them right.
    return fs::path(wideText(path, CP_ACP));
}

std::optional<std::string> replaceFile(const std::string& temporary, const std::string& path)
{
    // The same single rename std::filesystem would make, called directly to keep the system's
    // reason when it fails.
    if (MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return std::nullopt;
    DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED && heldOpenElsewhere(path))
        error = ERROR_SHARING_VIOLATION;
    DeleteFileA(temporary.c_str());
    return "Unable to replace " + path + ": " + systemMessage(error);
}

} // namespace platform_detail

bool runsBatchScripts()
{
    return true;
}

bool fileNamesIgnoreCase()
{
    return true;
}

bool isRunnableFile(const std::string& path)
{
    return isOrdinaryFile(path);
}

std::optional<std::string> makeRunnable(const std::string&)
{
    return std::nullopt;
}

std::optional<std::string> consoleText(const std::string& nativeText)
{
    // cmd.exe reads a batch file in the console's code page, the OEM one, while file names
    // come in the ANSI one: "é" is 0xE9 in code page 1252 and 0x82 in code page 850.
    const UINT ansi = GetACP();
    const UINT oem = GetOEMCP();
    if (ansi == oem || nativeText.empty())
        return nativeText;
    const std::wstring wide = wideText(nativeText, ansi);
    const int wideLength = static_cast<int>(wide.size());
    BOOL lost = FALSE;
    std::string result(static_cast<std::size_t>(WideCharToMultiByte(oem, 0, wide.data(), wideLength,
                                                                    nullptr, 0, nullptr, &lost)),
                       '\0');
    WideCharToMultiByte(oem, 0, wide.data(), wideLength, result.data(),
                        static_cast<int>(result.size()), nullptr, &lost);
    if (lost)
        return std::nullopt;
    return result;
}

std::string shortPath(const std::string& path)
{
    return shortPathThrough([&path](char* buffer, std::size_t size) {
        return static_cast<std::size_t>(
            GetShortPathNameA(path.c_str(), buffer, static_cast<DWORD>(size)));
    });
}

TextEncoding nativeTextEncoding()
{
    // Windows may be set to use UTF-8 as its ANSI code page.
    return GetACP() == CP_UTF8 ? TextEncoding::Utf8 : TextEncoding::SingleByte;
}

char pathSeparator()
{
    return '\\';
}

std::optional<std::string> readFileUpTo(const std::string& path, std::size_t size)
{
    // Opening a pipe's or a device's name does not wait; reading from it could.
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return std::nullopt;
    }
    std::string bytes(size, '\0');
    std::size_t filled = 0;
    DWORD got = 0;
    while (
        filled < size &&
        ReadFile(file, bytes.data() + filled, static_cast<DWORD>(size - filled), &got, nullptr) &&
        got > 0)
        filled += got;
    CloseHandle(file);
    bytes.resize(filled);
    return bytes;
}

bool patternMatchesFile(const std::string& pattern)
{
    if (pattern.empty())
        return false;
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
}

} // namespace gridloom
