// Code page 437, the DOS code page in which old zip archives store file names,
// and the rule that tells whether the raw bytes of a name (those that are not
// UTF-8) were written in it or in Windows-1252.
//
// Standard C++ only, header-only: the script engine, which knows no Qt, reads
// names on disk with the same table and the same rule as the player's own
// look-ups, so a name one of them shows is the name the other one shows.
#pragma once

#include <array>
#include <string_view>

namespace qm::platform {

// Codes 0x80..0xFF; the lower half is ASCII.
inline constexpr std::array<char16_t, 128> kCodePage437High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

// The character of one byte in code page 437.
constexpr char16_t codePage437Char(unsigned char byte) {
  return byte < 0x80 ? char16_t(byte) : kCodePage437High[byte - 0x80];
}

namespace code_page_detail {

// Whether a character of code page 437's upper half is a letter: the Latin-1
// letters, ƒ, the Greek letters and the superscript n. (Every other character
// there is a sign, a line or a space.)
constexpr bool isLetter(char16_t c) {
  if (c == 0x00AA || c == 0x00B5 || c == 0x00BA || c == 0x0192 || c == 0x207F) return true;
  if (c >= 0x00C0 && c <= 0x00FF) return c != 0x00D7 && c != 0x00F7;
  return c >= 0x0391 && c <= 0x03C9;
}

// The Windows-1252 letters among 0x80..0xBF: ƒ ˆ Š Œ Ž š œ ž Ÿ ª µ º (the
// circumflex ˆ is a modifier letter).
constexpr bool isWindows1252LetterBelowC0(unsigned char b) {
  return b == 0x83 || b == 0x88 || b == 0x8A || b == 0x8C || b == 0x8E || b == 0x9A || b == 0x9C || b == 0x9E || b == 0x9F ||
         b == 0xAA || b == 0xB5 || b == 0xBA;
}

}  // namespace code_page_detail

// How much reading one raw byte (0x80..0xFF) in a code page gives a name.
// Letters count for it, the page's everyday accented letters twice
// (Windows-1252: 0xC0..0xFF; code page 437: 0x80..0xA5), its rarer ones once
// (Š, Œ, Ÿ...; Greek); codes Windows-1252 leaves undefined count against it.
constexpr int windows1252LetterScore(unsigned char b) {
  if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) return -2;
  if (b >= 0xC0) return b == 0xD7 || b == 0xF7 ? 0 : 2;
  return code_page_detail::isWindows1252LetterBelowC0(b) ? 1 : 0;
}
constexpr int codePage437LetterScore(unsigned char b) {
  if (!code_page_detail::isLetter(codePage437Char(b))) return 0;
  return b <= 0xA5 ? 2 : 1;
}

// True when the raw bytes of one name read as more letters in code page 437
// than in Windows-1252 ("Église" from an old archive, never "╔glise" from a
// Windows disk). A tie goes to Windows-1252, the code page of the games' text.
constexpr bool readsAsCodePage437(std::string_view rawBytes) {
  int windows = 0, dos = 0;
  for (const char c : rawBytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) continue;
    windows += windows1252LetterScore(b);
    dos += codePage437LetterScore(b);
  }
  return dos > windows;
}

}  // namespace qm::platform
