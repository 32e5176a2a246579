// Small file procedures shared by the whole player.
#pragma once

#include <QString>
#include <QStringList>

namespace qm::startup {

// Directory look-up: the file's name when it exists, "" otherwise.
QString SafeDir(const QString& path);

// The part after the last backslash or slash (the whole string when there is none).
QString GetFileTitle(const QString& path);

// Every "|" becomes a double quote.
QString DecodeBarQuotes(const QString& text);

// Every character with code 254 becomes a double quote.
QString DecodeChar254Quotes(const QString& text);

// Names of the plain files in the folder (hidden ones too) that match the
// pattern ("*" and "?", letter case significant unless told otherwise; ""
// matches all), in listing order. Failures show "Error in ListFiles.
// <description>" and return what was gathered. The names are 0-based here
// (VB's array was 1-based).
QStringList ListFiles(const QString& folder, const QString& pattern, Qt::CaseSensitivity cs = Qt::CaseSensitive);

// True when name matches the wildcard pattern ("*" any run, "?" one character),
// letter case significant.
bool matchesWildcard(const QString& name, const QString& pattern);

// Deletes the file if it exists; errors are ignored.
void DeleteFileIfExists(const QString& path);

// INI access through the platform layer (255 characters at most, "" when absent).
QString ReadIniValue(const QString& file, const QString& section, const QString& key);
bool WriteIniValue(const QString& file, const QString& section, const QString& key, const QString& value);

}  // namespace qm::startup
