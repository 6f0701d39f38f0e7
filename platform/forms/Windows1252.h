#pragma once
// The Western European code page that rich text names with \ansicpg1252: the bytes
// 0x80 to 0x9F hold typographic characters (quotes, dashes, the euro sign), the other
// bytes are the Latin-1 characters of the same number.
#include <optional>

namespace forms {

// The character of a byte of the code page. The five bytes that the code page leaves
// unassigned give the control character of the same number, as Latin-1 does.
char16_t fromWindows1252(unsigned char byte);

// The byte of a character, or nothing when the code page has none for it.
std::optional<unsigned char> toWindows1252(char16_t character);

}  // namespace forms
