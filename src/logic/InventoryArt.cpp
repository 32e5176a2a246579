#include "logic/InventoryArt.h"

#include <QPainter>
#include <QPainterPath>

namespace qm::logic {

namespace {

constexpr int kSize = 32;

// A dark rounded tile with a light inner edge and a dark outer edge: the
// outer edge shows on light frames, the inner one on dark frames.
QImage tile() {
  QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient fill(0, 0, 0, kSize);
  fill.setColorAt(0, QColor(0x4a, 0x3b, 0x2c));
  fill.setColorAt(1, QColor(0x2a, 0x20, 0x17));
  p.setPen(QPen(QColor(0x10, 0x0c, 0x08), 1));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(0.5, 0.5, kSize - 1, kSize - 1), 5, 5);
  p.setPen(QPen(QColor(0xd8, 0xc3, 0x8a, 160), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(1.5, 1.5, kSize - 3, kSize - 3), 4, 4);
  return image;
}

}  // namespace

int inventoryBarColor() { return 0x20293A; }  // dark walnut brown, as &HBBGGRR

QImage builtInInventoryButton() {
  QImage image = tile();
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // A satchel: body, flap and buckle.
  const QColor leather(0xe0, 0xb0, 0x5a);
  const QColor dark(0x5a, 0x3a, 0x12);
  p.setPen(QPen(dark, 1.2));
  p.setBrush(leather);
  QPainterPath body;
  body.addRoundedRect(QRectF(7, 12, 18, 13), 3, 3);
  p.drawPath(body);
  QPainterPath handle;
  handle.moveTo(12, 12);
  handle.cubicTo(12, 6, 20, 6, 20, 12);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(leather, 2));
  p.drawPath(handle);
  p.setPen(QPen(dark, 1.2));
  p.setBrush(leather.darker(115));
  QPainterPath flap;
  flap.moveTo(7, 13);
  flap.lineTo(25, 13);
  flap.lineTo(25, 17);
  flap.quadTo(16, 21, 7, 17);
  flap.closeSubpath();
  p.drawPath(flap);
  p.setBrush(QColor(0xf4, 0xe6, 0xb8));
  p.drawRect(QRectF(14.5, 17, 3, 3));
  return image;
}

QImage missingItemIcon() {
  QImage image = tile();
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0xf4, 0xe6, 0xb8), 2.5, Qt::SolidLine, Qt::RoundCap));
  QFont font;
  font.setPixelSize(20);
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRectF(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("?"));
  return image;
}

}  // namespace qm::logic
