// Every path a game names goes through here. Games name files with backslashes
// and in any letter case ("Frames\HALL.BMP"), while the files on disk may have
// been copied from Windows in another case. The resolver maps such a path to the
// real file, walking the path one name at a time against cached directory
// listings (an exact match wins over a case-insensitive one; among names equal
// but for case, the first in byte order, so the choice never changes).
//
// Names on disk are bytes: UTF-8, or raw Windows-1252 or DOS code page 437 as
// old discs and archives leave them. A game's name matches an entry read in
// UTF-8, else in Windows-1252, else in code page 437. Native paths returned
// here carry raw bytes escaped (platform/NativeName.h): open them with
// platform/NativeFile.h, show them with readableName(). Files the player
// creates get UTF-8 names.
//
// Accepted: absolute native paths (/home/...), paths with '\' or '/', relative
// paths (resolved against the current directory), "." and ".." components,
// doubled separators. A Windows drive prefix ("C:") is not a path here and
// never resolves.
//
// While a game runs, the resolver answers only for files inside its folder
// (platform/FileConfinement.h): a path whose real path lies outside resolves to
// nothing, exactly like a missing file, and is never written.
//
// Listings are cached per directory and refreshed when the directory's
// modification time changes, or all at once by forgetCachedListings().
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace qm::platform {

// Native path of the existing file or folder, or nullopt.
std::optional<QString> resolveExisting(const QString& path);

// The "directory look-up": true for an existing plain file (not a folder, pipe
// or device).
bool fileExists(const QString& path);

// True for an existing folder.
bool folderExists(const QString& path);

// The native path under which to create or overwrite the file: existing folders
// are resolved case-insensitively; the last name is kept as given unless a file
// of that name exists in another case (then that file's real name). When a
// folder on the way does not exist, its name is kept as given.
QString resolveForWrite(const QString& path);

// The file's own name (its title, in the case it has on disk, as people read
// it: a name in raw bytes as its Windows-1252 or DOS text) when the file
// exists, "" otherwise. Never throws.
QString safeDir(const QString& path);

// The whole content of the file. Throws VbError 53 when it does not exist and
// 75 (path/file access error) when it cannot be read.
QByteArray readWholeFile(const QString& path);

// Writes the whole file through resolveForWrite (creating or replacing it; the
// old content stays intact when writing fails).
// Throws VbError 75 when it cannot be written, 76 when its folder does not exist,
// 70 when it lies outside the game's folder or is not a plain file.
void writeWholeFile(const QString& path, const QByteArray& bytes);

// Native names of the entries of a folder (files and sub-folders, hidden ones
// too, no "." or ".."), in the byte order of their names. Empty when the folder
// does not exist.
QStringList listFolder(const QString& folder);

// Drops every cached listing (after the player itself created or removed files
// the next look-up sees them anyway, since the folder's modification time changes;
// this is for file systems with coarse time stamps).
void forgetCachedListings();

// Tests: called with each folder before it is read for a listing.
void setListingHookForTests(std::function<void(const QString&)> hook);

// Converts '\' to '/' and collapses doubled separators; nothing else.
QString toNativeSeparators(const QString& path);

}  // namespace qm::platform
