#pragma once

#include <cstddef>
#include <string_view>

// The job's texts are UTF-8. Rules that count characters from the end of a name count whole
// characters, so a cut never falls inside a multi-byte letter.
namespace gridloom {

/// The byte offset at which the last `count` characters of `text` begin; 0 when the text has
/// fewer characters than that.
inline std::size_t offsetOfLastCharacters(std::string_view text, std::size_t count)
{
    std::size_t offset = text.size();
    while (count > 0 && offset > 0) {
        --offset;
        // Continuation bytes (10xxxxxx) belong to the character that starts before them.
        while (offset > 0 && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80)
            --offset;
        --count;
    }
    return offset;
}

/// The number of characters in `text`.
inline std::size_t characterCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

/// The first `count` characters of `text`, or all of it when it is shorter.
inline std::string_view firstCharacters(std::string_view text, std::size_t count)
{
    std::size_t offset = 0;
    while (count > 0 && offset < text.size()) {
        ++offset;
        while (offset < text.size() && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80)
            ++offset;
        --count;
    }
    return text.substr(0, offset);
}

} // namespace gridloom
