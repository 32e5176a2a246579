// Files named by native paths (platform/NativeName.h: raw bytes escaped), as
// the resolver gives them. Everything here goes to the system by the path's
// bytes, so a file named in raw Windows-1252 or code page 437 is read, written
// and tested like any other. The resolver checks a game's confinement on the
// names; opening and writing here check it again on what is opened
// (platform/GameFileOpen.h), so a name changed in between is never followed out.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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
// descriptor, so QFile never sees the name), inside the game's folders
// (platform/FileConfinement.h). False when it is missing, outside, not a plain
// file or not readable; never waits on a pipe.
bool openForReading(QFile& file, const QString& nativePath);
// The same inside other folders (real paths; empty: anywhere), for the
// player's own places such as the saved games of a game installed read-only.
bool openForReadingWithin(QFile& file, const QString& nativePath, const QStringList& realFolders);

// The whole plain file, or nullopt.
std::optional<QByteArray> readFileAt(const QString& nativePath);

// Writes the file beside its target (in a fresh file of a unique name) and
// renames it over the target, so that a failure half-way never damages a
// good file, inside the game's folders. The folder must exist. `error` gets
// the system's reason on failure.
bool writeFileAtomically(const QString& nativePath, const QByteArray& bytes, QString* error = nullptr);
// The same inside other folders (real paths; empty: anywhere); `beforeRename`
// runs between writing and renaming.
bool writeFileAtomicallyWithin(const QString& nativePath, const QByteArray& bytes, const QStringList& realFolders,
                               QString* error = nullptr, const std::function<void()>& beforeRename = {});

// The allowed folders as the file opener takes them.
std::vector<std::string> rootsFor(const QStringList& realFolders);

// The native names in a folder (no "." or ".."), in the byte order of their
// names; nullopt when it cannot be read. Uncached.
std::optional<QStringList> entriesOf(const QString& nativeFolder);

// Removes a plain file; true when it is gone.
bool removeFileAt(const QString& nativePath);

}  // namespace qm::platform
