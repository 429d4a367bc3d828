#pragma once

#include <cstddef>
#include <string_view>

// The core holds texts in the system's 8-bit encoding: the ANSI code page on Windows, one byte
// per character, and UTF-8 on Linux and macOS. Rules that count characters (the 132-character
// path limit, the fourth character from the end of a name, a drive's two characters) count
// them in that encoding, so a cut never falls inside a character and never skips one.
namespace gridloom {

enum class TextEncoding {
    /// Characters of one to four bytes; continuation bytes (10xxxxxx) belong to the
    /// character before them.
    Utf8,
    /// One byte per character, whatever its value.
    SingleByte
};

/// The number of characters in `text`.
std::size_t characterCount(std::string_view text, TextEncoding encoding);

/// The byte offset at which the last `count` characters of `text` begin; 0 when the text has
/// fewer characters than that.
std::size_t offsetOfLastCharacters(std::string_view text, std::size_t count, TextEncoding encoding);

/// The first `count` characters of `text`, or all of it when it is shorter.
std::string_view firstCharacters(std::string_view text, std::size_t count, TextEncoding encoding);

} // namespace gridloom
