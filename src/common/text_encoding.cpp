#include "common/text_encoding.h"

namespace gridloom {

namespace {

bool continuesCharacter(char byte, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 && (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

std::size_t characterCount(std::string_view text, TextEncoding encoding)
{
    std::size_t count = 0;
    for (const char byte : text)
        if (!continuesCharacter(byte, encoding))
            ++count;
    return count;
}

std::size_t offsetOfLastCharacters(std::string_view text, std::size_t count, TextEncoding encoding)
{
    std::size_t offset = text.size();
    while (count > 0 && offset > 0) {
        --offset;
        while (offset > 0 && continuesCharacter(text[offset], encoding))
            --offset;
        --count;
    }
    return offset;
}

std::string_view firstCharacters(std::string_view text, std::size_t count, TextEncoding encoding)
{
    std::size_t offset = 0;
    while (count > 0 && offset < text.size()) {
        ++offset;
        while (offset < text.size() && continuesCharacter(text[offset], encoding))
            ++offset;
        --count;
    }
    return text.substr(0, offset);
}

} // namespace gridloom
