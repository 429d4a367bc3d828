#pragma once

#include <cstdint>

// Numeric fields drop unwanted keystrokes as they are typed. Each filter looks at the character
// code of one key press and sets it to 0 when the key is to be dropped. Control keys (below 32),
// "/" and codes above 127 pass every filter.
namespace gridloom {

/// Passes digits and "/".
void digitFilter(std::int16_t& code);
/// Passes digits, "." and "/".
void decimalFilter(std::int16_t& code);
/// Passes digits, "-", "." and "/".
void signedDecimalFilter(std::int16_t& code);

using KeyFilterFunction = void (*)(std::int16_t& code);

} // namespace gridloom
