#include "platform/IniFileBytes.h"

namespace qm::platform {
namespace {

// The code unit at byte offset i (one byte in UTF-8, two in UTF-16).
char16_t unitAt(const QByteArray& b, qsizetype i, IniFileBytes::Encoding e) {
  const auto u = [&](qsizetype k) { return static_cast<unsigned char>(b[k]); };
  switch (e) {
    case IniFileBytes::Encoding::Utf16LE: return static_cast<char16_t>(u(i) | (u(i + 1) << 8));
    case IniFileBytes::Encoding::Utf16BE: return static_cast<char16_t>((u(i) << 8) | u(i + 1));
    case IniFileBytes::Encoding::Utf8: break;
  }
  return u(i);
}

}  // namespace

IniFileBytes IniFileBytes::split(const QByteArray& bytes) {
  IniFileBytes f;
  if (bytes.startsWith("\xFF\xFE")) {
    f.encoding_ = Encoding::Utf16LE;
    f.bom_ = bytes.left(2);
  } else if (bytes.startsWith("\xFE\xFF")) {
    f.encoding_ = Encoding::Utf16BE;
    f.bom_ = bytes.left(2);
  } else if (bytes.startsWith("\xEF\xBB\xBF")) {
    f.bom_ = bytes.left(3);
  }
  const qsizetype unit = f.encoding_ == Encoding::Utf8 ? 1 : 2;
  const qsizetype end = bytes.size() - (bytes.size() - f.bom_.size()) % unit;  // an odd last byte is dropped
  qsizetype start = f.bom_.size();
  for (qsizetype i = start; i < end;) {
    const char16_t c = unitAt(bytes, i, f.encoding_);
    if (c != u'\r' && c != u'\n') {
      i += unit;
      continue;
    }
    qsizetype after = i + unit;
    if (c == u'\r' && after < end && unitAt(bytes, after, f.encoding_) == u'\n') after += unit;
    f.raw_.push_back(bytes.mid(start, i - start));
    f.ends_.push_back(bytes.mid(i, after - i));
    start = i = after;
  }
  if (start < end) {
    f.raw_.push_back(bytes.mid(start, end - start));
    f.ends_.push_back({});
  }
  for (const QByteArray& line : f.raw_) {
    if (f.encoding_ == Encoding::Utf8) {
      f.text_.push_back(QString::fromUtf8(line));
    } else {
      QString s(line.size() / 2, Qt::Uninitialized);
      for (qsizetype k = 0; k < s.size(); ++k) s[k] = QChar(unitAt(line, 2 * k, f.encoding_));
      f.text_.push_back(s);
    }
  }
  return f;
}

QByteArray IniFileBytes::encode(const QString& text) const {
  if (encoding_ == Encoding::Utf8) return text.toUtf8();
  QByteArray out;
  out.reserve(text.size() * 2);
  for (const QChar c : text) {
    const char lo = static_cast<char>(c.unicode() & 0xFF), hi = static_cast<char>(c.unicode() >> 8);
    if (encoding_ == Encoding::Utf16LE) {
      out += lo;
      out += hi;
    } else {
      out += hi;
      out += lo;
    }
  }
  return out;
}

QByteArray IniFileBytes::join(const IniDocument& doc) const {
  // New lines end like the file's first line, CR LF in a new file.
  const QByteArray newline = !ends_.empty() && !ends_.front().isEmpty() ? ends_.front() : encode(QStringLiteral("\r\n"));
  QByteArray out = bom_;
  const QStringList& lines = doc.lines();
  const auto& origins = doc.origins();
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const qsizetype from = origins[static_cast<size_t>(i)];
    const bool kept = from >= 0 && from < static_cast<qsizetype>(raw_.size());
    out += kept ? raw_[static_cast<size_t>(from)] : encode(lines[i]);
    const QByteArray& end = kept ? ends_[static_cast<size_t>(from)] : newline;
    // Only the file's last line may go without an end.
    out += end.isEmpty() && (i + 1 < lines.size() || !kept) ? newline : end;
  }
  return out;
}

}  // namespace qm::platform
