// Files named by native paths (platform/NativeName.h: raw bytes escaped), as
// the resolver gives them. Everything here goes to the system by the path's
// bytes, so a file named in raw Windows-1252 or code page 437 is read, written
// and tested like any other. Nothing here applies the game's confinement: the
// resolver does that before a path gets here.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>
#include <optional>

namespace qm::platform {

// True for an existing plain file (not a folder, pipe or device).
bool isPlainFileAt(const QString& nativePath);
// True for an existing folder.
bool isFolderAt(const QString& nativePath);

// Size and last change of an existing plain file.
struct FileStamp {
  qint64 size = 0;
  QDateTime modified;
};
std::optional<FileStamp> stampOf(const QString& nativePath);

// Opens `file` for reading on the plain file at the path (through a file
// descriptor, so QFile never sees the name). False when it is missing, not a
// plain file or not readable.
bool openForReading(QFile& file, const QString& nativePath);

// The whole plain file, or nullopt.
std::optional<QByteArray> readFileAt(const QString& nativePath);

// Writes the file beside its target and renames it over the target, so that a
// failure half-way never damages a good file. The folder must exist. `error`
// gets the system's reason on failure.
bool writeFileAtomically(const QString& nativePath, const QByteArray& bytes, QString* error = nullptr);

// The native names in a folder (no "." or ".."), in the byte order of their
// names; nullopt when it cannot be read. Uncached.
std::optional<QStringList> entriesOf(const QString& nativeFolder);

// Removes a plain file; true when it is gone.
bool removeFileAt(const QString& nativePath);

}  // namespace qm::platform
