#include "platform/Windows1252.h"

#include <array>

namespace qm::platform {
namespace {

// Codes 0x80..0x9F; the five codes the code page leaves undefined map to the
// control character of the same number, as the system conversion does.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

QString fromWindows1252(const char* data, qsizetype size) {
  QString out(size, Qt::Uninitialized);
  QChar* dst = out.data();
  for (qsizetype i = 0; i < size; ++i) {
    const auto b = static_cast<unsigned char>(data[i]);
    dst[i] = (b >= 0x80 && b <= 0x9F) ? QChar(kHigh[b - 0x80]) : QChar(char16_t(b));
  }
  return out;
}

QString fromWindows1252(const QByteArray& bytes) { return fromWindows1252(bytes.constData(), bytes.size()); }

int windows1252Code(QChar c) {
  const char16_t u = c.unicode();
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == u) return 0x80 + i;
  }
  return '?';
}

QChar windows1252Char(int code) {
  code &= 0xFF;
  if (code >= 0x80 && code <= 0x9F) return QChar(kHigh[code - 0x80]);
  return QChar(char16_t(code));
}

QByteArray toWindows1252(const QString& text) {
  QByteArray out(text.size(), Qt::Uninitialized);
  char* dst = out.data();
  const QChar* src = text.constData();
  for (qsizetype i = 0; i < text.size(); ++i) dst[i] = static_cast<char>(windows1252Code(src[i]));
  return out;
}

}  // namespace qm::platform
