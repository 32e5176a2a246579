#include "platform/NativeName.h"

#include <string_view>

#include "platform/CodePage437.h"
#include "platform/Windows1252.h"

namespace qm::platform {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // byte b (0x80..0xFF) is U+DC00 + b

bool isEscape(char16_t u) { return u >= 0xDC80 && u <= 0xDCFF; }

// An escape is a lone low surrogate: after a high one, the same code unit is
// the second half of a character beyond the first 65536 (U+1F480 is D83D DC80).
bool escapeAt(QStringView s, qsizetype i) {
  return isEscape(s[i].unicode()) && !(i > 0 && s[i - 1].isHighSurrogate());
}

QString fromCp437(const QByteArray& bytes) {
  QString out(bytes.size(), Qt::Uninitialized);
  QChar* dst = out.data();
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    dst[i] = QChar(codePage437Char(b));
  }
  return out;
}

// The escaped bytes of one name read in the code page that reads them as more
// letters; everything else in it stays as it is.
QString readEscapes(QStringView part) {
  QByteArray raw;
  for (qsizetype i = 0; i < part.size(); ++i)
    if (escapeAt(part, i)) raw += static_cast<char>(part[i].unicode() - kEscapeBase);
  const bool dos = readsAsCodePage437(std::string_view(raw.constData(), static_cast<size_t>(raw.size())));
  QString out;
  out.reserve(part.size());
  for (qsizetype i = 0; i < part.size(); ++i) {
    if (!escapeAt(part, i)) {
      out += part[i];
      continue;
    }
    const auto b = static_cast<unsigned char>(part[i].unicode() - kEscapeBase);
    out += dos ? QChar(codePage437Char(b)) : windows1252Char(b);
  }
  return out;
}

}  // namespace

QString nameFromBytes(const char* p, qsizetype n) {
  QString out;
  out.reserve(n);
  qsizetype i = 0;
  while (i < n) {
    const auto b = static_cast<unsigned char>(p[i]);
    if (b < 0x80) {
      out += QChar(char16_t(b));
      ++i;
      continue;
    }
    int length = 0;
    char32_t cp = 0, least = 0;
    if ((b & 0xE0) == 0xC0) length = 2, cp = b & 0x1F, least = 0x80;
    else if ((b & 0xF0) == 0xE0) length = 3, cp = b & 0x0F, least = 0x800;
    else if ((b & 0xF8) == 0xF0) length = 4, cp = b & 0x07, least = 0x10000;
    bool ok = length > 0 && i + length <= n;
    for (int k = 1; ok && k < length; ++k) {
      const auto c = static_cast<unsigned char>(p[i + k]);
      if ((c & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (c & 0x3F);
    }
    // Overlong forms, surrogates and code points past Unicode are not UTF-8.
    if (ok && (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
    if (!ok) {
      out += QChar(char16_t(kEscapeBase + b));
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      out += QChar(QChar::highSurrogate(cp));
      out += QChar(QChar::lowSurrogate(cp));
    } else {
      out += QChar(char16_t(cp));
    }
    i += length;
  }
  return out;
}

QString nameFromBytes(const QByteArray& bytes) { return nameFromBytes(bytes.constData(), bytes.size()); }

bool hasRawBytes(const QString& name) {
  for (qsizetype i = 0; i < name.size(); ++i)
    if (escapeAt(name, i)) return true;
  return false;
}

QByteArray bytesOfName(const QString& name) {
  if (!hasRawBytes(name)) return name.toUtf8();
  QByteArray out;
  out.reserve(name.size() * 2);
  qsizetype runStart = 0;
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t u = name.at(i).unicode();
    // A pair of surrogates is one character; its low half is never an escape.
    if (QChar::isHighSurrogate(u) && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
      ++i;
      continue;
    }
    if (!isEscape(u)) continue;
    out += QStringView(name).mid(runStart, i - runStart).toUtf8();
    out += static_cast<char>(u - kEscapeBase);
    runStart = i + 1;
  }
  out += QStringView(name).mid(runStart).toUtf8();
  return out;
}

QStringList nameReadings(const QString& name) {
  if (!hasRawBytes(name)) return {name};
  const QByteArray bytes = bytesOfName(name);
  return {fromWindows1252(bytes), fromCp437(bytes)};
}

QString readableName(const QString& name) {
  if (!hasRawBytes(name)) return name;
  // One name at a time: each may come from another disc.
  QString out;
  out.reserve(name.size());
  qsizetype start = 0;
  while (start <= name.size()) {
    qsizetype end = name.indexOf(u'/', start);
    if (end < 0) end = name.size();
    out += readEscapes(QStringView(name).mid(start, end - start));
    if (end < name.size()) out += u'/';
    start = end + 1;
  }
  return out;
}

QString foldedName(const QString& name) {
  for (const QChar c : name) {
    if (c.unicode() >= 0x80) return name.normalized(QString::NormalizationForm_C).toCaseFolded();
  }
  return name.toCaseFolded();
}

}  // namespace qm::platform
