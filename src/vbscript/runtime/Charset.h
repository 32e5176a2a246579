#pragma once
// Windows-1252 code page (Asc/Chr) and the URL-style Escape/Unescape.
#include <optional>
#include <string>

namespace qm::vbs::rt {

// Byte 0..255 to its Unicode character.
char16_t windows1252ToUnicode(unsigned char byte);
// Unicode character to its Windows-1252 byte; characters outside the code page give '?'.
unsigned char unicodeToWindows1252(char16_t ch);

std::u16string escape(const std::u16string& text);
std::u16string unescape(const std::u16string& text);

} // namespace qm::vbs::rt
