#include "startup/RecordReader.h"

#include <cmath>
#include <cstring>

#include "platform/FileResolver.h"
#include "platform/VbError.h"
#include "platform/Windows1252.h"
#include "startup/VbNumbers.h"

namespace qm::startup {
namespace {

constexpr char kEndOfFileMark = 0x1A;  // Ctrl+Z ends a text file

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }
inline bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

bool equalsNoCase(const char* p, qsizetype n, const char* word) {
  const qsizetype len = static_cast<qsizetype>(std::strlen(word));
  if (n != len) return false;
  for (qsizetype i = 0; i < n; ++i) {
    char c = p[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != word[i]) return false;
  }
  return true;
}

}  // namespace

// A field as found in the bytes, before it becomes a QString.
struct RecordReader::Scanned {
  FieldKind kind = FieldKind::Empty;
  const char* begin = nullptr;  // String/Text/Number/Date: the field's characters
  qsizetype length = 0;
  double number = 0;
  bool boolean = false;
};

RecordReader::RecordReader(QByteArray bytes, QString fileNameForMessages)
    : bytes_(std::move(bytes)), fileName_(std::move(fileNameForMessages)) {
  const char* data = bytes_.constData();
  const void* mark = std::memchr(data, kEndOfFileMark, static_cast<size_t>(bytes_.size()));
  end_ = mark ? static_cast<const char*>(mark) - data : bytes_.size();
}

RecordReader RecordReader::fromFile(const QString& path) {
  return RecordReader(platform::readWholeFile(path), path);
}

const QString& RecordReader::separator() {
  static const QString kSeparator = QStringLiteral("----- SEPARATOR -----");
  return kSeparator;
}

bool RecordReader::atEnd() const {
  const char* data = bytes_.constData();
  for (qsizetype i = pos_; i < end_; ++i) {
    const char c = data[i];
    if (!isBlank(c) && !isLineEnd(c)) return false;
  }
  return true;
}

void RecordReader::setPosition(qsizetype pos) { pos_ = std::clamp<qsizetype>(pos, 0, end_); }

void RecordReader::consumeDelimiter() {
  const char* data = bytes_.constData();
  while (pos_ < end_ && isBlank(data[pos_])) ++pos_;
  if (pos_ >= end_) return;
  const char c = data[pos_];
  if (c == ',') {
    ++pos_;
  } else if (c == '\r') {
    ++pos_;
    if (pos_ < end_ && data[pos_] == '\n') ++pos_;
  } else if (c == '\n') {
    ++pos_;
  }
}

void RecordReader::skipPastDelimiter() {
  // Characters after a closing quote up to the next delimiter carry no value;
  // a quote right after it starts the next string.
  const char* data = bytes_.constData();
  while (pos_ < end_ && isBlank(data[pos_])) ++pos_;
  if (pos_ < end_ && data[pos_] == '"') return;
  while (pos_ < end_ && data[pos_] != ',' && !isLineEnd(data[pos_])) ++pos_;
  consumeDelimiter();
}

RecordReader::Scanned RecordReader::scan() {
  const char* data = bytes_.constData();
  while (pos_ < end_ && isBlank(data[pos_])) ++pos_;
  fieldStart_ = pos_;
  if (pos_ >= end_) throw VbError::inputPastEnd();

  Scanned f;
  const char c = data[pos_];
  if (c == ',' || isLineEnd(c)) {  // nothing before the delimiter, or a blank line
    if (c != ',' && atEnd()) throw VbError::inputPastEnd();  // only blank lines are left
    consumeDelimiter();
    return f;
  }
  if (c == '"') {
    const qsizetype start = pos_ + 1;
    const void* close = std::memchr(data + start, '"', static_cast<size_t>(end_ - start));
    const qsizetype stop = close ? static_cast<const char*>(close) - data : end_;
    f.kind = FieldKind::String;
    f.begin = data + start;
    f.length = stop - start;
    pos_ = close ? stop + 1 : end_;
    skipPastDelimiter();
    return f;
  }
  // Unquoted: up to the next comma or line end, trailing blanks dropped.
  const qsizetype start = pos_;
  qsizetype stop = start;
  while (stop < end_ && data[stop] != ',' && !isLineEnd(data[stop])) ++stop;
  qsizetype last = stop;
  while (last > start && isBlank(data[last - 1])) --last;
  pos_ = stop;
  consumeDelimiter();
  f.begin = data + start;
  f.length = last - start;

  if (c == '#' && f.length >= 2 && f.begin[f.length - 1] == '#') {
    const char* inner = f.begin + 1;
    qsizetype n = f.length - 2;
    while (n > 0 && isBlank(*inner)) { ++inner; --n; }
    while (n > 0 && isBlank(inner[n - 1])) --n;
    if (equalsNoCase(inner, n, "TRUE") || equalsNoCase(inner, n, "FALSE")) {
      f.kind = FieldKind::Boolean;
      f.boolean = (inner[0] == 'T' || inner[0] == 't');
      f.number = f.boolean ? -1 : 0;
      return f;
    }
    if (equalsNoCase(inner, n, "NULL")) {
      f.kind = FieldKind::Null;
      return f;
    }
    if (n > 5 && equalsNoCase(inner, 5, "ERROR") && isBlank(inner[5])) {
      const char* num = inner + 6;
      qsizetype m = n - 6;
      while (m > 0 && isBlank(*num)) { ++num; --m; }
      if (const auto v = parseVbNumber(num, static_cast<long>(m))) {
        f.kind = FieldKind::Error;
        f.number = *v;
        return f;
      }
    }
    f.kind = FieldKind::Date;
    f.begin = inner;
    f.length = n;
    return f;
  }
  std::optional<double> number;
  try {
    number = parseVbNumber(f.begin, static_cast<long>(f.length));
  } catch (const VbError&) {
    // A number too large for a Double: an overflow when it is converted.
    f.kind = FieldKind::Number;
    f.number = HUGE_VAL;
    return f;
  }
  if (number) {
    f.kind = FieldKind::Number;
    f.number = *number;
  } else {
    f.kind = FieldKind::Text;
  }
  return f;
}

RecordField RecordReader::toField(const Scanned& s) const {
  RecordField field;
  field.kind = s.kind;
  field.number = s.number;
  field.boolean = s.boolean;
  if (s.begin) field.text = platform::fromWindows1252(s.begin, s.length);
  return field;
}

RecordField RecordReader::readAny() { return toField(scan()); }

QString RecordReader::readString() {
  const Scanned s = scan();
  if (s.kind == FieldKind::String || s.kind == FieldKind::Text || s.kind == FieldKind::Number ||
      s.kind == FieldKind::Date) {
    return platform::fromWindows1252(s.begin, s.length);
  }
  return toField(s).toString();
}

double RecordReader::readDouble() {
  const Scanned s = scan();
  if (s.kind == FieldKind::Number) {
    if (!std::isfinite(s.number)) throw VbError::overflow();
    return s.number;
  }
  return toField(s).toDouble();
}

int16_t RecordReader::readInt16() {
  const Scanned s = scan();
  if (s.kind == FieldKind::Number) return roundToInt16(s.number);
  return toField(s).toInt16();
}

int32_t RecordReader::readInt32() {
  const Scanned s = scan();
  if (s.kind == FieldKind::Number) return roundToInt32(s.number);
  return toField(s).toInt32();
}

bool RecordReader::readBool() {
  const Scanned s = scan();
  if (s.kind == FieldKind::Boolean) return s.boolean;
  return toField(s).toBool();
}

void RecordReader::skip(int count) {
  for (int i = 0; i < count; ++i) scan();
}

bool RecordReader::atRecordEnd() {
  if (atEnd()) return true;
  const qsizetype saved = pos_, savedStart = fieldStart_;
  bool separator = false;
  try {
    const Scanned s = scan();
    separator = (s.kind == FieldKind::String || s.kind == FieldKind::Text) && isSeparator(s);
  } catch (const VbError&) {
  }
  pos_ = saved;
  fieldStart_ = savedStart;
  return separator;
}

bool RecordReader::isSeparator(const Scanned& s) {
  static const QByteArray kBytes = separator().toLatin1();
  return s.length == kBytes.size() && std::memcmp(s.begin, kBytes.constData(), kBytes.size()) == 0;
}

int RecordReader::skipRecord() {
  int count = 0;
  while (!atEnd()) {
    const Scanned s = scan();
    ++count;
    if ((s.kind == FieldKind::String || s.kind == FieldKind::Text) && isSeparator(s)) break;
  }
  return count;
}

}  // namespace qm::startup
