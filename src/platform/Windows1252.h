// Data files are 8-bit Windows-1252 text. These convert between that code page
// and QString; character codes that algorithms compute on (stored media names,
// scrambling, separators 164/165/254) come from here too.
#pragma once

#include <QByteArray>
#include <QString>

namespace qm::platform {

QString fromWindows1252(const char* data, qsizetype size);
QString fromWindows1252(const QByteArray& bytes);

// Characters outside the code page become '?'.
QByteArray toWindows1252(const QString& text);

// The code (0..255) of one character, as VB's Asc gives it; '?' (63) when the
// character is not in the code page.
int windows1252Code(QChar c);

// The character with the given code (0..255), as VB's Chr gives it.
QChar windows1252Char(int code);

}  // namespace qm::platform
