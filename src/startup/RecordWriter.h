// Writes record text files the way VB's Write # writes them: strings in double
// quotes, numbers with '.' as decimal point, #TRUE#/#FALSE#, #NULL#; fields of
// one record separated by commas and the record ended by CR LF. Text is
// encoded as Windows-1252. A double quote inside a string cannot be stored
// (the reader would split the string there): it is written as given, as the
// editor would, and callers that need one use their file's substitute.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace qm::startup {

class RecordWriter {
 public:
  RecordWriter& str(const QString& text);
  RecordWriter& num(double value);
  RecordWriter& integer(qint64 value);
  RecordWriter& boolean(bool value);
  RecordWriter& null();
  RecordWriter& empty();  // an Empty value: nothing between the commas
  // A field written exactly as given (dates "#2026-12-07#", "#ERROR 5#").
  RecordWriter& rawField(const QByteArray& field);
  RecordWriter& separator();  // the field "----- SEPARATOR -----", then CR LF
  RecordWriter& endRecord();  // CR LF

  // Appends another writer's output (ending this one's open record first).
  RecordWriter& append(const RecordWriter& other);

  // The bytes written so far; an open record is ended with CR LF.
  QByteArray bytes() const;

  // Writes bytes() to the file (through the resolver). Throws VbError on failure.
  void saveTo(const QString& path) const;

  // How a number is written: shortest form that reads back the same value
  // ("12", "-3.5", "1E+20", "0.001").
  static QByteArray formatNumber(double value);

 private:
  void beginField();
  QByteArray out_;
  bool recordOpen_ = false;
};

}  // namespace qm::startup
