#pragma once

#include "common/date_hour.h"
#include "common/input_file_info.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gridloom {

/// How much of a 3D.DAT file the reader looks at; a shorter file is refused.
inline constexpr std::size_t headerReadSize = 5000;

/// Reads the header of the 3D.DAT file at `path` (in the system's 8-bit encoding, as every file
/// query of the core takes it): nothing when the file cannot be opened, is no ordinary file,
/// holds fewer than 5000 characters, or its header is not in the expected form. Only the first
/// 5000 characters are read, the file is closed again on every path, and nothing waits: a named
/// pipe or a device is refused, not read. Never throws.
std::optional<InputFileInfo> readHeader(const std::string& path);

/// The same reading applied to text already in memory, of which only the first 5000 characters
/// count; the path is stored in the result as given.
std::optional<InputFileInfo> parseHeader(std::string_view text, const std::string& path);

/// The pieces that are not empty once the blanks at both ends are removed, unchanged and in
/// their order.
std::vector<std::string_view> dropBlankFields(const std::vector<std::string_view>& pieces);

/// The fields of a line: the pieces between single spaces, without the blank ones.
std::vector<std::string_view> splitFields(std::string_view line);

} // namespace gridloom
