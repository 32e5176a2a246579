#include "support/GifFile.h"

#include <QHash>
#include <stdexcept>

namespace qm::testing {

namespace {

void putWord(QByteArray& out, int value) {
  out.append(static_cast<char>(value & 0xFF));
  out.append(static_cast<char>((value >> 8) & 0xFF));
}

// Writes codes of `width` bits, lowest bit first, as GIF image data does.
class CodeWriter {
 public:
  void put(int code, int width) {
    bits_ |= static_cast<quint32>(code) << count_;
    count_ += width;
    while (count_ >= 8) {
      bytes_.append(static_cast<char>(bits_ & 0xFF));
      bits_ >>= 8;
      count_ -= 8;
    }
  }
  QByteArray finish() {
    if (count_ > 0) bytes_.append(static_cast<char>(bits_ & 0xFF));
    return bytes_;
  }

 private:
  QByteArray bytes_;
  quint32 bits_ = 0;
  int count_ = 0;
};

// Image data with 8-bit colour indices. Every index goes out as a code of its
// own and the table is cleared before it could grow past 9-bit codes: larger
// than real compression, but every decoder reads it.
QByteArray imageData(const std::vector<int>& indices) {
  constexpr int kMinCodeSize = 8, kClear = 256, kEnd = 257, kWidth = 9;
  constexpr int kLiteralsPerClear = 200;  // the table reaches 258 + 199 < 512 entries
  CodeWriter codes;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (i % kLiteralsPerClear == 0) codes.put(kClear, kWidth);
    codes.put(indices[i], kWidth);
  }
  codes.put(kEnd, kWidth);
  const QByteArray packed = codes.finish();
  QByteArray out;
  out.append(static_cast<char>(kMinCodeSize));
  for (qsizetype at = 0; at < packed.size(); at += 255) {
    const QByteArray block = packed.mid(at, 255);
    out.append(static_cast<char>(block.size()));
    out.append(block);
  }
  out.append('\0');
  return out;
}

}  // namespace

QByteArray gifBytes(const std::vector<QImage>& frames, int delayCentiseconds) {
  if (frames.empty()) throw std::invalid_argument("a GIF needs a frame");
  const QSize size = frames.front().size();
  QByteArray out("GIF89a");
  putWord(out, size.width());
  putWord(out, size.height());
  out.append('\0');  // no global colour table
  out.append('\0');  // background colour index
  out.append('\0');  // pixel aspect
  if (frames.size() > 1) {
    out.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);
    putWord(out, 0);  // loop for ever
    out.append('\0');
  }
  for (const QImage& source : frames) {
    if (source.size() != size) throw std::invalid_argument("the GIF's frames differ in size");
    const QImage frame = source.convertToFormat(QImage::Format_ARGB32);
    // Index 0 is transparent; the colours follow in the order met.
    std::vector<QRgb> palette{0};
    QHash<QRgb, int> indexOf;
    std::vector<int> indices;
    indices.reserve(static_cast<std::size_t>(size.width() * size.height()));
    for (int y = 0; y < size.height(); ++y) {
      for (int x = 0; x < size.width(); ++x) {
        const QRgb pixel = frame.pixel(x, y);
        if (qAlpha(pixel) == 0) {
          indices.push_back(0);
          continue;
        }
        const QRgb colour = qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
        auto found = indexOf.find(colour);
        if (found == indexOf.end()) {
          if (palette.size() == 256) throw std::invalid_argument("a GIF frame has at most 255 colours");
          found = indexOf.insert(colour, static_cast<int>(palette.size()));
          palette.push_back(colour);
        }
        indices.push_back(found.value());
      }
    }
    // Graphic control: restore to the background after the frame, delay, transparent index 0.
    out.append("\x21\xF9\x04", 3);
    out.append(static_cast<char>((2 << 2) | 1));
    putWord(out, delayCentiseconds);
    out.append('\0');
    out.append('\0');
    // The frame with its own colour table of 256 entries.
    out.append('\x2C');
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, size.width());
    putWord(out, size.height());
    out.append(static_cast<char>(0x80 | 7));
    for (int i = 0; i < 256; ++i) {
      const QRgb c = i < static_cast<int>(palette.size()) ? palette[static_cast<std::size_t>(i)] : 0;
      out.append(static_cast<char>(qRed(c)));
      out.append(static_cast<char>(qGreen(c)));
      out.append(static_cast<char>(qBlue(c)));
    }
    out.append(imageData(indices));
  }
  out.append('\x3B');
  return out;
}

}  // namespace qm::testing
