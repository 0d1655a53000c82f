#pragma once

#include <cstdint>

namespace lumetra {

// Channel names are stored as Windows-1251 bytes inside the show, as the
// operators' old machines wrote them. These two functions are the whole
// conversion; widgets convert at their boundary and nowhere else.

// The Unicode character of one Windows-1251 byte (0x98, unassigned, gives
// U+FFFD).
char16_t cp1251ToUnicode(std::uint8_t byte);

// The Windows-1251 byte of a Unicode character, or -1 when the code page
// has none for it.
int unicodeToCp1251(char16_t ch);

}  // namespace lumetra
