#include "common/key_filters.h"

namespace gridloom {

namespace {

// The filters differ only in where the lower rejected range ends.
void dropOutside(std::int16_t& code, std::int16_t lowerRangeEnd)
{
    if ((code >= 32 && code <= lowerRangeEnd) || (code >= 58 && code <= 127))
        code = 0;
}

} // namespace

void digitFilter(std::int16_t& code)
{
    dropOutside(code, 46);
}

void decimalFilter(std::int16_t& code)
{
    dropOutside(code, 45);
}

void signedDecimalFilter(std::int16_t& code)
{
    dropOutside(code, 44);
}

} // namespace gridloom
