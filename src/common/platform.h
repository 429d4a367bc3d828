#pragma once

#include "common/text_encoding.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// File-system queries and writes the logic needs, and the facts about the operating system it
// runs on. Declared once here; each system has its own implementation file (platform_posix.cpp,
// platform_windows.cpp), chosen by the build, and the code they share is in platform.cpp.
namespace gridloom {

/// True where run scripts are batch files for cmd.exe (Windows), false where they are shell
/// scripts.
bool runsBatchScripts();

/// True where letter case does not tell two file names apart (Windows).
bool fileNamesIgnoreCase();

/// True when the path names an ordinary file the system would run as a program: any ordinary
/// file on Windows, one with an execute permission elsewhere.
bool isRunnableFile(const std::string& path);

/// Lets everyone run the file where files carry permissions to run them (mode 0755); the reason
/// in the system's words when that failed. Nothing to do on Windows.
std::optional<std::string> makeRunnable(const std::string& path);

/// The text, in the system's 8-bit encoding, in the code page a console reads batch files in
/// (the OEM code page on Windows, which differs from the ANSI one file names are given in);
/// nothing when a character has no place in it. Unchanged elsewhere.
std::optional<std::string> consoleText(const std::string& nativeText);

/// The platform's short form of a path. Windows: GetShortPathNameA, empty when the call fails.
/// Elsewhere there are no short names and the path is returned unchanged.
std::string shortPath(const std::string& path);

/// A call in the manner of GetShortPathNameA: fills the buffer of the given size and returns
/// the length of the result; returns the size it needs, terminating zero included, when the
/// buffer is too small, and 0 when it fails.
using ShortPathCall = std::function<std::size_t(char* buffer, std::size_t size)>;

/// The short form through such a call, asked first with a buffer of 256 characters. A form
/// that does not fit is asked for again with the room it needs, so that a path whose short form
/// is that long still reaches the length limit, rather than looking as if it had none.
std::string shortPathThrough(const ShortPathCall& call);

/// The encoding the system's 8-bit texts and file names are in.
TextEncoding nativeTextEncoding();

/// The first `size` bytes of the ordinary file at `path`, read without waiting: nothing when
/// the path cannot be opened, when what was opened is not an ordinary file (a pipe, socket,
/// device or directory, which could block or never end), or when the file is shorter.
std::optional<std::string> readFileStart(const std::string& path, std::size_t size);

/// At most `size` bytes from the start of the ordinary file at `path`, fewer when the file is
/// shorter, read without waiting; nothing when it cannot be opened or is no ordinary file.
std::optional<std::string> readFileUpTo(const std::string& path, std::size_t size);

/// Why the directory's entries cannot be listed, in the system's own words; nothing when they
/// can.
std::optional<std::string> directoryReadError(const std::string& path);

/// True when the path names an ordinary file (not a directory or device).
bool isOrdinaryFile(const std::string& path);

/// True when the path names an existing directory; false on any failure to ask.
bool dirExists(const std::string& path);

/// True when anything of that name exists, directories included; false on any failure to ask.
bool pathExists(const std::string& path);

/// True when the text, taken as a file pattern, matches at least one ordinary file: a folder
/// path that ends in a separator matches any ordinary file inside it, and "*" and "?" in the
/// last component match as on the system's command line. On Windows that is FindFirstFile's
/// matching: letter case does not count, "*.*" matches every name, and short names match too.
bool patternMatchesFile(const std::string& pattern);

/// The platform's path separator: '\\' on Windows, '/' elsewhere.
char pathSeparator();

/// Writes the bytes to a temporary file in the target's folder and renames it over the target,
/// so a failure never leaves half a file. Returns an error text on failure, nothing on success;
/// on Windows the reason is in the system's words, and a target another program holds open is
/// reported as such rather than as a denied access.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace gridloom
