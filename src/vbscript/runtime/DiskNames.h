#pragma once
// File names on disk are bytes. Games copied from old Windows disks keep names
// in raw Windows-1252 bytes ("Caf\xE9.txt"), and games unpacked from old zip
// archives in raw DOS code page 437 bytes ("\x90glise.txt"); neither is UTF-8.
// Scripts see every name as text: a UTF-8 name as it is; in any other name,
// the bytes that are not UTF-8 read in Windows-1252, the code page of the
// games' own text, or in code page 437 when that reads as more letters (the
// player's own rule, so the names `DDir` gives are the names listings show).
// A script finds such a file again by that text, or by the name's whole
// reading in either code page, whether it took the name from a listing or
// typed it.
#include <string>
#include <string_view>

namespace qm::vbs::rt {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool isUtf8Name(std::string_view bytes);

// The text scripts see for one name on disk.
std::u16string diskNameText(std::string_view bytes);

// The text scripts see for a native path: each name read on its own, since the
// folders on the way may come from other disks.
std::u16string diskPathText(std::string_view path);

// True when the name on disk is the one a script means by `text`, letter case
// aside: its shown text, or for a name in raw bytes its whole reading in
// Windows-1252 or in code page 437.
bool diskNameMatches(std::string_view bytes, std::u16string_view text);

} // namespace qm::vbs::rt
