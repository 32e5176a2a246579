#include "startup/RecordWriter.h"

#include <charconv>
#include <cmath>

#include "platform/FileResolver.h"
#include "platform/Windows1252.h"

namespace qm::startup {

void RecordWriter::beginField() {
  if (recordOpen_) out_ += ',';
  recordOpen_ = true;
}

RecordWriter& RecordWriter::str(const QString& text) {
  beginField();
  out_ += '"';
  out_ += platform::toWindows1252(text);
  out_ += '"';
  return *this;
}

QByteArray RecordWriter::formatNumber(double value) {
  if (std::isnan(value)) return "0";
  if (value == 0) return "0";
  if (std::trunc(value) == value && std::fabs(value) < 1e15) {
    return QByteArray::number(static_cast<qint64>(value));
  }
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  QByteArray text(buf, r.ptr - buf);
  return text.toUpper();  // exponent written "E", as VB writes it
}

RecordWriter& RecordWriter::num(double value) {
  beginField();
  out_ += formatNumber(value);
  return *this;
}

RecordWriter& RecordWriter::integer(qint64 value) {
  beginField();
  out_ += QByteArray::number(value);
  return *this;
}

RecordWriter& RecordWriter::boolean(bool value) {
  beginField();
  out_ += value ? "#TRUE#" : "#FALSE#";
  return *this;
}

RecordWriter& RecordWriter::null() {
  beginField();
  out_ += "#NULL#";
  return *this;
}

RecordWriter& RecordWriter::empty() {
  beginField();
  return *this;
}

RecordWriter& RecordWriter::rawField(const QByteArray& field) {
  beginField();
  out_ += field;
  return *this;
}

RecordWriter& RecordWriter::separator() {
  if (recordOpen_) endRecord();
  str(QStringLiteral("----- SEPARATOR -----"));
  return endRecord();
}

RecordWriter& RecordWriter::endRecord() {
  out_ += "\r\n";
  recordOpen_ = false;
  return *this;
}

RecordWriter& RecordWriter::append(const RecordWriter& other) {
  if (recordOpen_) endRecord();
  out_ += other.bytes();
  return *this;
}

QByteArray RecordWriter::bytes() const {
  return recordOpen_ ? out_ + "\r\n" : out_;
}

void RecordWriter::saveTo(const QString& path) const { platform::writeWholeFile(path, bytes()); }

}  // namespace qm::startup
