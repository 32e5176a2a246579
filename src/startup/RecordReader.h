// Reads the record text files of a project the way VB's Input # reads them:
// fields are quoted strings, numbers with '.' as decimal point, #TRUE#/#FALSE#,
// #NULL#, dates #...#, #ERROR n#; a field ends at a comma or at a line end;
// blanks before a field are skipped; line boundaries carry no meaning beyond
// ending a field. Bytes are Windows-1252.
//
// Typed reads convert like VB assignments: numbers are rounded half to even
// into integers, out-of-range values raise Overflow (6), a quoted non-numeric
// text read as a number raises Type mismatch (13), unquoted non-numeric text
// reads as 0, and reading past the end raises Input past end of file (62).
// Every failure is a qm::VbError; the reader never crashes on bad bytes.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <algorithm>

#include "startup/RecordField.h"

namespace qm::startup {

class RecordReader {
 public:
  explicit RecordReader(QByteArray bytes, QString fileNameForMessages = {});

  // Reads the file through the case-insensitive resolver; VbError 53 when missing.
  static RecordReader fromFile(const QString& path);

  // VB's EOF(): true when no field is left (only blanks, line ends or an
  // end-of-file mark Ctrl+Z remain).
  bool atEnd() const;

  QString readString();
  int16_t readInt16();
  int32_t readInt32();
  double readDouble();
  bool readBool();
  RecordField readAny();

  // Reads fields into a scratch value and drops them.
  void skip(int count = 1);

  // True at the end of the file or when the next field is the record separator
  // "----- SEPARATOR -----"; the position is left where it was.
  bool atRecordEnd();

  // Reads fields up to and including the next record separator (or to the end
  // of the file). Returns the number of fields read, separator included.
  int skipRecord();

  // Byte position, for callers that peek further ahead than atRecordEnd().
  qsizetype position() const { return pos_; }
  void setPosition(qsizetype pos);
  // Where the field read last began (after its leading blanks); at a failed
  // read, the field that failed, or the end of the data when none was left.
  qsizetype fieldStart() const { return fieldStart_; }

  const QString& fileName() const { return fileName_; }
  qsizetype size() const { return bytes_.size(); }

  static const QString& separator();

 private:
  struct Scanned;
  Scanned scan();
  RecordField toField(const Scanned& s) const;
  static bool isSeparator(const Scanned& s);
  void consumeDelimiter();
  void skipPastDelimiter();

  QByteArray bytes_;
  QString fileName_;
  qsizetype pos_ = 0;
  qsizetype end_ = 0;  // where the data ends (first Ctrl+Z, or the size)
  qsizetype fieldStart_ = 0;
};

}  // namespace qm::startup
