// Unscrambling of script code stored in scrambled form: the lines of the global
// procedures file and the code fields of compiled plugins. Both transforms work
// on 8-bit (Windows-1252) character codes and share one fixed key table.
#pragma once

#include <QByteArray>
#include <cstdint>

namespace qm::script {

// Key numbers used for plugin code, by code mode.
constexpr int32_t kPluginKeyMode1 = 157;
constexpr int32_t kPluginKeyMode2 = 246;

// One scrambled line of the procedures file back to plain text.
// Throws qm::VbError 6 (overflow) when the key arithmetic leaves 32 bits.
QByteArray UnscrambleProcedureLine(const QByteArray& scrambled, int32_t keyNumber);

// One scrambled plugin code field back to plain text. Same error as above.
QByteArray UnscramblePluginCode(const QByteArray& scrambled, int32_t keyNumber);

// 32 becomes 34, 34 becomes 32, every other code is returned unchanged.
int SwapBlankAndQuote(int code);

// The sum of the 8-bit character codes of a text (the project name's key number).
// A character whose addition would overflow 32 bits is skipped.
int32_t ProjectKeyNumber(const QByteArray& text);

// The key table entry j (0..20): code of the j-th key letter minus 32.
int KeyTableEntry(int index);

}  // namespace qm::script
