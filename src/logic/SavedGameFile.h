// The saved-game file: one value per line in the record text format, in this
// order:
//
//   resume frame                         string
//   N, then N x (name, value)            integer variables (16-bit values)
//   D, then D x (frame, hotspot number)  hotspots made to disappear
//   item count, then the item names      inventory order
//   H, then H frame names                the frame history, oldest first
//   three empty strings, project name, game title, date "MM/DD/YYYY", "Version 3.5.2"
//   V, then V x (name, value)            variant variables, each value as its own kind
//
// Files of older versions end after the items, after the history or after the
// version line; the reader stops there.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace qm::logic {

struct SavedGameInfo {
  QString projectName;
  QString gameTitle;
  QString date;     // month/day/year
  QString version;  // "Version 3.5.2"
};

struct SavedGameData {
  QString resumeFrame;
  std::vector<std::pair<QString, int16_t>> integers;
  std::vector<std::pair<QString, int16_t>> disappeared;
  QStringList items;
  std::optional<QStringList> history;                             // absent: the file ended after the items
  std::optional<SavedGameInfo> info;                              // absent: it ended after the history
  std::optional<std::vector<std::pair<QString, QVariant>>> variants;  // absent: it ended after the version
};

inline constexpr const char* kSavedGameVersion = "Version 3.5.2";

// "12/07/2026" for 7 December 2026.
QString savedGameDate(const QDate& date);

// A text as the file keeps it. The format cannot hold a double quote inside a
// string (it would end the string and shift every value after it), so each one
// is written as an apostrophe.
QString savedGameText(const QString& text);

// The file's bytes. A variant value that cannot be written (an object, an
// array) throws VbError 13; nothing is written then.
QByteArray writeSavedGame(const SavedGameData& data);

// Reads a whole file. Throws VbError (62 past the end, 13 text where a number
// belongs, 6 overflow) on a damaged file.
SavedGameData readSavedGame(const QByteArray& bytes);
// The same, keeping what was read before a failure; *failure gets the error's
// description (and stays a null string when the file was read whole).
SavedGameData readSavedGame(const QByteArray& bytes, QString* failure);

// Only the resume frame (the window lists it); "" when unreadable.
QString savedGameFrame(const QByteArray& bytes);

}  // namespace qm::logic
