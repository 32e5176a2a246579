// One data file as the doctor reads it: its bytes, where it is, and the
// translation of a reader's stopping point into a line, record and field.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "doctor/Finding.h"
#include "platform/VbError.h"
#include "startup/RecordReader.h"

namespace qm::doctor {

struct GameFacts;

struct DataFile {
  QString path;      // game path (for the resolver)
  QString relative;  // for places
  QByteArray bytes;

  // 1-based line of a byte position.
  int lineAt(qsizetype position) const;
  // 1-based number of the field that begins at `fieldStart`, counting the
  // fields of the record that begins at `recordStart`.
  int fieldNumber(qsizetype recordStart, qsizetype fieldStart) const;
  // 1-based line where field n (1-based, counted from the file's start)
  // begins; 0 when the file has fewer fields.
  int lineOfField(int n) const;
  // Where the reader stopped: the line of the failing field, the record and
  // the field (its name when given, else "field N" of the record).
  Place stoppedAt(const startup::RecordReader& reader, qsizetype recordStart, int record,
                  const QString& fieldName = {}) const;
};

// Reads a game file through the player's resolver. A file that is not there
// gives nullopt quietly; one that cannot be read gives nullopt and an error.
// Every file read counts in facts.filesRead.
std::optional<DataFile> loadDataFile(GameFacts& facts, Findings& findings, const QString& path);

// Moves past the next record separator (or to the end). Unlike the player's
// skipping, which reads each field as text, it never fails.
void skipToNextRecord(startup::RecordReader& reader);

// What a record reader does after one record.
enum class NextRecord {
  AfterSeparator,  // move past the next record separator
  Here,            // the record ended where the reader stands
  Stop,            // the rest of the file cannot be read
};

// Reads the records of a file one after the other until its end:
// read(start, record) reads one, given where it starts and its number
// (1-based), and says how to go on. A record that moved the reader nowhere
// ends the loop, so damaged files cannot hold it. Returns the records read.
template <typename Read>
int forEachRecord(startup::RecordReader& in, Read&& read) {
  int record = 0;
  while (!in.atEnd()) {
    const qsizetype start = in.position();
    const NextRecord next = read(start, ++record);
    if (next == NextRecord::Stop) break;
    if (next == NextRecord::AfterSeparator) skipToNextRecord(in);
    if (in.position() == start) break;
  }
  return record;
}

// The error for a data file that stopped parsing: "<what> stops at field N:
// <reader's description>".
void reportUnparsable(Findings& findings, const Place& place, const QString& what, const VbError& error);

}  // namespace qm::doctor
