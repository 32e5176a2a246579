#include "platform/NativeName.h"

#include <array>

#include "platform/Windows1252.h"

namespace qm::platform {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // byte b (0x80..0xFF) is U+DC00 + b

bool isEscape(char16_t u) { return u >= 0xDC80 && u <= 0xDCFF; }

// Code page 437, codes 0x80..0xFF.
constexpr std::array<char16_t, 128> kCp437 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

QString fromCp437(const QByteArray& bytes) {
  QString out(bytes.size(), Qt::Uninitialized);
  QChar* dst = out.data();
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    dst[i] = b < 0x80 ? QChar(char16_t(b)) : QChar(kCp437[b - 0x80]);
  }
  return out;
}

// Bytes the Windows-1252 code page leaves undefined.
bool undefinedIn1252(unsigned char b) { return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D; }

// How much reading raw bytes in a code page gives a name. Letters count for
// it, the page's everyday accented letters twice (Windows-1252: 0xC0..0xFF;
// code page 437: 0x80..0xA5), its rarer ones once (Š, Œ, Ÿ...; Greek); codes
// the page leaves undefined count against it.
int letterScore(const QByteArray& bytes, bool windows1252) {
  int score = 0;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (windows1252 && undefinedIn1252(b)) {
      score -= 2;
      continue;
    }
    const QChar read = windows1252 ? windows1252Char(b) : QChar(kCp437[b - 0x80]);
    if (read.isLetter()) score += (windows1252 ? b >= 0xC0 : b <= 0xA5) ? 2 : 1;
  }
  return score;
}

// The escaped bytes of one name read in the code page that reads them as more
// letters; everything else in it stays as it is.
QString readEscapes(QStringView part) {
  QByteArray raw;
  for (const QChar c : part)
    if (isEscape(c.unicode())) raw += static_cast<char>(c.unicode() - kEscapeBase);
  const bool windows = letterScore(raw, true) >= letterScore(raw, false);
  QString out;
  out.reserve(part.size());
  for (const QChar c : part) {
    if (!isEscape(c.unicode())) {
      out += c;
      continue;
    }
    const auto b = static_cast<unsigned char>(c.unicode() - kEscapeBase);
    out += windows ? windows1252Char(b) : QChar(kCp437[b - 0x80]);
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
  for (const QChar c : name)
    if (isEscape(c.unicode())) return true;
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
