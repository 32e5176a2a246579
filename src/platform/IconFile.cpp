#include "platform/IconFile.h"

#include <QtEndian>

namespace qm::platform {

namespace {

quint16 u16(const QByteArray& b, qsizetype at) {
  return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(b.constData()) + at);
}
quint32 u32(const QByteArray& b, qsizetype at) {
  return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(b.constData()) + at);
}

// A device-independent bitmap as stored in icons: colour rows, then a 1-bit mask,
// both bottom-up, the header's height counting both.
std::optional<QImage> decodeDib(const QByteArray& b, qsizetype at, qsizetype size) {
  if (size < 40 || at + size > b.size()) return std::nullopt;
  const quint32 headerSize = u32(b, at);
  const qint32 width = static_cast<qint32>(u32(b, at + 4));
  const qint32 doubleHeight = static_cast<qint32>(u32(b, at + 8));
  const int bpp = u16(b, at + 14);
  const quint32 compression = u32(b, at + 16);
  quint32 colorsUsed = u32(b, at + 32);
  if (headerSize < 40 || width <= 0 || width > 1024 || doubleHeight <= 0 || doubleHeight > 2048 || compression != 0)
    return std::nullopt;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return std::nullopt;
  const int height = doubleHeight / 2 > 0 ? doubleHeight / 2 : doubleHeight;
  if (bpp <= 8 && colorsUsed == 0) colorsUsed = 1u << bpp;
  if (bpp > 8) colorsUsed = 0;
  if (colorsUsed > 256) return std::nullopt;
  const qsizetype paletteAt = at + headerSize;
  const qsizetype pixelsAt = paletteAt + 4 * colorsUsed;
  const qsizetype xorStride = ((static_cast<qsizetype>(width) * bpp + 31) / 32) * 4;
  const qsizetype andStride = ((static_cast<qsizetype>(width) + 31) / 32) * 4;
  const qsizetype andAt = pixelsAt + xorStride * height;
  if (andAt > at + size || andAt > b.size()) return std::nullopt;
  const bool haveMask = andAt + andStride * height <= b.size();
  const uchar* d = reinterpret_cast<const uchar*>(b.constData());
  QImage img(width, height, QImage::Format_ARGB32);
  bool anyAlpha = false;
  for (int y = 0; y < height; ++y) {
    const uchar* row = d + pixelsAt + xorStride * (height - 1 - y);
    QRgb* out = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < width; ++x) {
      QRgb c = 0;
      if (bpp == 32) {
        const uchar* p = row + x * 4;
        c = qRgba(p[2], p[1], p[0], p[3]);
        if (p[3]) anyAlpha = true;
      } else if (bpp == 24) {
        const uchar* p = row + x * 3;
        c = qRgb(p[2], p[1], p[0]);
      } else {
        int idx = 0;
        if (bpp == 8) idx = row[x];
        else if (bpp == 4) idx = (row[x / 2] >> ((x % 2) ? 0 : 4)) & 0xF;
        else idx = (row[x / 8] >> (7 - x % 8)) & 1;
        if (static_cast<quint32>(idx) < colorsUsed) {
          const uchar* p = d + paletteAt + idx * 4;
          c = qRgb(p[2], p[1], p[0]);
        } else {
          c = qRgb(0, 0, 0);
        }
      }
      out[x] = c;
    }
  }
  if (!(bpp == 32 && anyAlpha)) {
    for (int y = 0; y < height; ++y) {
      QRgb* out = reinterpret_cast<QRgb*>(img.scanLine(y));
      const uchar* mask = haveMask ? d + andAt + andStride * (height - 1 - y) : nullptr;
      for (int x = 0; x < width; ++x) {
        const bool transparent = mask && ((mask[x / 8] >> (7 - x % 8)) & 1);
        const QRgb c = out[x];
        // A masked pixel with colour inverts the screen there; we show it solid.
        out[x] = transparent && (c & 0xFFFFFF) == 0 ? qRgba(0, 0, 0, 0) : qRgba(qRed(c), qGreen(c), qBlue(c), 255);
      }
    }
  }
  return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

std::optional<DecodedIcon> decodeIconFile(const QByteArray& b) {
  if (b.size() < 6 + 16 || u16(b, 0) != 0) return std::nullopt;
  const int type = u16(b, 2);
  const int count = u16(b, 4);
  if ((type != 1 && type != 2) || count <= 0 || 6 + 16 * count > b.size()) return std::nullopt;
  int best = -1;
  int bestArea = -1;
  for (int i = 0; i < count; ++i) {
    const qsizetype e = 6 + 16 * i;
    int w = static_cast<uchar>(b[e]), h = static_cast<uchar>(b[e + 1]);
    if (w == 0) w = 256;
    if (h == 0) h = 256;
    if (w * h > bestArea) bestArea = w * h, best = i;
  }
  const qsizetype e = 6 + 16 * best;
  const qsizetype size = u32(b, e + 8);
  const qsizetype offset = u32(b, e + 12);
  if (offset <= 0 || offset >= b.size() || size <= 0) return std::nullopt;
  const qsizetype avail = std::min<qsizetype>(size, b.size() - offset);
  std::optional<QImage> image;
  if (b.mid(offset, 4) == QByteArray("\x89PNG", 4)) {
    QImage png;
    if (png.loadFromData(b.mid(offset, avail), "PNG")) image = png;
  } else {
    image = decodeDib(b, offset, avail);
  }
  if (!image || image->isNull()) return std::nullopt;
  DecodedIcon out;
  out.image = *image;
  if (type == 2) out.hotSpot = QPoint(u16(b, e + 4), u16(b, e + 6));
  else out.hotSpot = QPoint(image->width() / 2, image->height() / 2);
  out.hotSpot.setX(std::clamp(out.hotSpot.x(), 0, image->width() - 1));
  out.hotSpot.setY(std::clamp(out.hotSpot.y(), 0, image->height() - 1));
  return out;
}

std::optional<QImage> decodeIconImage(const QByteArray& bytes) {
  auto d = decodeIconFile(bytes);
  if (!d) return std::nullopt;
  return d->image;
}

}  // namespace qm::platform
