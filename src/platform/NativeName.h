// File names on disk are bytes, and games come with names in three encodings:
// UTF-8 (copied from a mounted disc), raw Windows-1252 (copied from a Windows
// disk) and raw DOS code page 437 (old zip archives extracted with today's
// tools). A QString cannot hold bytes that are not UTF-8, so native paths
// carry such bytes escaped: every byte that is not part of a valid UTF-8
// sequence becomes the lone code unit U+DC80..U+DCFF (0x80..0xFF). Valid
// UTF-8 never decodes to a lone surrogate, so the escaping is reversible:
// bytesOfName(nameFromBytes(b)) == b for every b.
//
// Native paths with escapes must reach the system through bytesOfName() (or
// platform/NativeFile.h), never through QFile(path) or QFileInfo(path), which
// would re-encode the escapes as other bytes. Names shown to people go through
// readableName().
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qm::platform {

// The bytes as a native name: UTF-8 decoded, other bytes escaped.
QString nameFromBytes(const char* bytes, qsizetype size);
QString nameFromBytes(const QByteArray& bytes);

// The bytes a native name stands for (UTF-8, escapes turned back into bytes).
QByteArray bytesOfName(const QString& name);

// True when the name holds escaped bytes (is not valid UTF-8 on disk).
bool hasRawBytes(const QString& name);

// What a game's name may be under this disk name: the name itself when it is
// UTF-8, else its Windows-1252 and its code page 437 readings, in that order.
QStringList nameReadings(const QString& name);

// The name or path for people: in each name, escaped bytes shown as
// Windows-1252 text, or as code page 437 text when that reads as more letters
// ("Église", never "╔glise"). Any other text is left as it is, so whole
// messages may go through here.
QString readableName(const QString& name);

// The key under which names compare without regard to letter case: case
// folded, and composed (a name written on a disk that decomposes accents
// matches the same name typed with composed ones).
QString foldedName(const QString& name);

}  // namespace qm::platform
