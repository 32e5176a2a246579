// Icon and cursor files as pointers and pictures.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QtEndian>

#include "platform/IconFile.h"

using qm::platform::decodeIconFile;

namespace {

void put16(QByteArray& b, quint16 v) {
  b.append(static_cast<char>(v & 0xFF));
  b.append(static_cast<char>(v >> 8));
}
void put32(QByteArray& b, quint32 v) {
  for (int i = 0; i < 4; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A 4x4 cursor file, 24-bit colour with an AND mask: the left half red and
// opaque, the right half masked out; hot spot (hx, hy).
QByteArray cursorFile(int type, int hx, int hy) {
  QByteArray dib;
  put32(dib, 40);
  put32(dib, 4);
  put32(dib, 8);  // colour and mask rows
  put16(dib, 1);
  put16(dib, 24);
  put32(dib, 0);
  put32(dib, 0);
  put32(dib, 0);
  put32(dib, 0);
  put32(dib, 0);
  put32(dib, 0);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      if (x < 2) dib.append("\x00\x00\xff", 3);  // blue, green, red
      else dib.append("\x00\x00\x00", 3);
    }
  }
  for (int y = 0; y < 4; ++y) {
    dib.append(static_cast<char>(0x30));  // bits 2 and 3 set: right half transparent
    dib.append(3, '\0');
  }
  QByteArray file;
  put16(file, 0);
  put16(file, type);
  put16(file, 1);
  file.append(static_cast<char>(4));
  file.append(static_cast<char>(4));
  file.append('\0');
  file.append('\0');
  put16(file, hx);
  put16(file, hy);
  put32(file, dib.size());
  put32(file, 22);
  return file + dib;
}

}  // namespace

TEST(IconFile, CursorKeepsItsHotSpotAndMask) {
  const auto c = decodeIconFile(cursorFile(2, 1, 3));
  ASSERT_TRUE(c);
  EXPECT_EQ(c->image.size(), QSize(4, 4));
  EXPECT_EQ(c->hotSpot, QPoint(1, 3));
  EXPECT_EQ(qAlpha(c->image.pixel(0, 0)), 255);
  EXPECT_EQ(qRed(c->image.pixel(0, 0)), 255);
  EXPECT_EQ(qAlpha(c->image.pixel(3, 0)), 0);
}

TEST(IconFile, IconPointsAtItsCentre) {
  const auto c = decodeIconFile(cursorFile(1, 0, 24));
  ASSERT_TRUE(c);
  EXPECT_EQ(c->hotSpot, QPoint(2, 2));
}

TEST(IconFile, IconWrittenByQtIsRead) {
  QImage img(16, 16, QImage::Format_ARGB32);
  img.fill(QColor(10, 200, 30));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!img.save(&buffer, "ICO")) GTEST_SKIP() << "no icon writer";
  const auto c = decodeIconFile(bytes);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->image.size(), QSize(16, 16));
  EXPECT_EQ(qGreen(c->image.pixel(5, 5)), 200);
}

TEST(IconFile, DamagedFilesAreRefused) {
  EXPECT_FALSE(decodeIconFile(QByteArray()));
  EXPECT_FALSE(decodeIconFile(QByteArray("not an icon at all, just text")));
  QByteArray cut = cursorFile(2, 0, 0);
  EXPECT_FALSE(decodeIconFile(cut.left(30)));
  QByteArray badOffset = cursorFile(2, 0, 0);
  badOffset[18] = '\x7f';  // image offset far beyond the end
  EXPECT_FALSE(decodeIconFile(badOffset));
  QByteArray hugeSize = cursorFile(2, 0, 0);
  hugeSize[26] = '\x00';
  hugeSize[27] = '\x00';
  hugeSize[28] = '\x01';  // 65536 pixels wide
  EXPECT_FALSE(decodeIconFile(hugeSize));
}
