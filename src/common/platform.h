#pragma once

#include <optional>
#include <string>
#include <string_view>

// File-system queries and writes the logic needs. The only place in the core that knows which
// operating system it runs on.
namespace gridloom {

/// The platform's short form of a path. Windows: GetShortPathNameA with a 256-character
/// buffer, empty when the call fails. Elsewhere there are no short names and the path is
/// returned unchanged.
std::string shortPath(const std::string& path);

/// True when the path names an ordinary file (not a directory or device).
bool isOrdinaryFile(const std::string& path);

/// True when the path names an existing directory; false on any failure to ask.
bool dirExists(const std::string& path);

/// True when anything of that name exists, directories included; false on any failure to ask.
bool pathExists(const std::string& path);

/// True when the text, taken as a file pattern, matches at least one ordinary file: a folder
/// path that ends in a separator matches any ordinary file inside it, and "*" and "?" in the
/// last component match as on a command line.
bool patternMatchesFile(const std::string& pattern);

/// The platform's path separator: '\\' on Windows, '/' elsewhere.
char pathSeparator();

/// Writes the bytes to a temporary file in the target's folder and renames it over the target,
/// so a failure never leaves half a file. Returns an error text on failure, nothing on success.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace gridloom
