#pragma once

#include <filesystem>
#include <optional>
#include <string>

// What the shared part of the platform layer (platform.cpp) asks of each system's own file.
namespace gridloom::platform_detail {

/// The path std::filesystem is to use for a path in the system's 8-bit encoding.
std::filesystem::path nativePath(const std::string& path);

/// Renames the temporary file over the target in one step; on failure removes the temporary
/// and returns the reason.
std::optional<std::string> replaceFile(const std::string& temporary, const std::string& path);

} // namespace gridloom::platform_detail
