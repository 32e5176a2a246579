#include "startup/frmWelcomeLogo.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace qm::startup {

namespace {

// A quill: a feather vane curving up to the right with its shaft and nib.
void drawQuill(QPainter& p, const QColor& ink, const QColor& vane) {
  QPainterPath feather;
  feather.moveTo(38, 62);
  feather.cubicTo(46, 40, 64, 16, 88, 6);
  feather.cubicTo(84, 24, 70, 46, 44, 64);
  feather.closeSubpath();
  p.setPen(QPen(ink, 1.5));
  p.setBrush(vane);
  p.drawPath(feather);
  // Barbs across the vane.
  p.setPen(QPen(ink, 1));
  for (int i = 0; i < 5; ++i) {
    const qreal t = 0.2 + i * 0.15;
    const QPointF onShaft(38 + (88 - 38) * t, 62 - (62 - 6) * t);
    p.drawLine(onShaft, onShaft + QPointF(8 - i, 4 + i * 0.5));
  }
  // Shaft and nib.
  p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(88, 6), QPointF(32, 70));
  QPainterPath nib;
  nib.moveTo(32, 70);
  nib.lineTo(28, 78);
  nib.lineTo(35, 73);
  nib.closeSubpath();
  p.setBrush(ink);
  p.drawPath(nib);
}

}  // namespace

QPixmap DrawProductLogo(int variant) {
  const bool light = variant == 1 || variant == 3;
  const bool badge = variant == 2 || variant == 3;
  const QColor ink = light ? QColor(0xF4, 0xEE, 0xDC) : QColor(0x1E, 0x2A, 0x44);
  const QColor vane = light ? QColor(0xC9, 0xB0, 0x6B) : QColor(0x8A, 0x6D, 0x2F);

  QPixmap pixmap(kLogoWidth, kLogoHeight);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  if (badge) {
    p.setPen(QPen(ink, 1.5));
    p.setBrush(light ? QColor(0x1E, 0x2A, 0x44) : QColor(0xF4, 0xEE, 0xDC));
    p.drawRoundedRect(QRectF(1.5, 1.5, kLogoWidth - 3, kLogoHeight - 3), 10, 10);
  }
  p.translate(6, 0);
  drawQuill(p, ink, vane);
  p.resetTransform();

  QFont font(QStringLiteral("Liberation Serif"));
  font.setPixelSize(17);
  font.setBold(true);
  font.setItalic(true);
  p.setFont(font);
  p.setPen(ink);
  p.drawText(QRect(0, 72, kLogoWidth, 22), Qt::AlignCenter, QStringLiteral("Quillmere"));
  return pixmap;
}

}  // namespace qm::startup
