// One field of a record text file, as read into an untyped (Variant) target.
#pragma once

#include <QString>
#include <cstdint>

namespace qm::startup {

enum class FieldKind {
  Empty,    // nothing between two delimiters, or a blank line
  String,   // "quoted text"
  Number,   // 12, -3.5, 1E+20
  Boolean,  // #TRUE# / #FALSE#
  Null,     // #NULL#
  Date,     // #1994-07-13 10:20:30#
  Error,    // #ERROR 53#
  Text,     // unquoted text that is not a number
};

struct RecordField {
  FieldKind kind = FieldKind::Empty;
  QString text;         // strings: the text; other kinds: the field as written in the file
  double number = 0;    // numbers; error numbers; booleans as -1/0
  bool boolean = false; // booleans

  bool isString() const { return kind == FieldKind::String; }
  bool isNumber() const { return kind == FieldKind::Number; }
  bool isBoolean() const { return kind == FieldKind::Boolean; }

  // VB conversions of the value (what assigning it to a typed variable gives).
  // They throw VbError 13 (type mismatch), 6 (overflow) or 94 (invalid use of Null).
  QString toString() const;
  double toDouble() const;
  int16_t toInt16() const;
  int32_t toInt32() const;
  bool toBool() const;
};

}  // namespace qm::startup
