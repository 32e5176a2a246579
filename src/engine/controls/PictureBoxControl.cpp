#include "engine/controls/PictureBoxControl.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "engine/PictureCache.h"
#include "engine/controls/VbColor.h"

namespace qm::engine {

namespace {
const PropertyDef kProps[] = {
    QM_PROP(PictureBoxControl, "BackColor", backColor, setBackColor, toInt),
    QM_PROP(PictureBoxControl, "ForeColor", foreColor, setForeColor, toInt),
    QM_FONT_PROPS(PictureBoxControl),
    QM_PROP(PictureBoxControl, "Picture", picture, setPictureProperty, toString),
    QM_PROP(PictureBoxControl, "AutoRedraw", autoRedraw, setAutoRedraw, toBool),
    QM_PROP(PictureBoxControl, "AutoSize", autoSize, setAutoSize, toBool),
    QM_PROP(PictureBoxControl, "BorderStyle", borderStyle, setBorderStyle, toInt),
    // The scale's four values make a user scale; the mode after them puts a
    // unit back, so an element loaded from its template gets the template's scale.
    QM_PROP(PictureBoxControl, "ScaleLeft", scaleLeft, setScaleLeft, toDouble),
    QM_PROP(PictureBoxControl, "ScaleTop", scaleTop, setScaleTop, toDouble),
    QM_PROP(PictureBoxControl, "ScaleWidth", scaleWidth, setScaleWidth, toDouble),
    QM_PROP(PictureBoxControl, "ScaleHeight", scaleHeight, setScaleHeight, toDouble),
    QM_PROP(PictureBoxControl, "ScaleMode", scaleModeValue, setScaleModeValue, toInt),
    QM_PROP(PictureBoxControl, "CurrentX", currentX, setCurrentX, toDouble),
    QM_PROP(PictureBoxControl, "CurrentY", currentY, setCurrentY, toDouble),
    QM_PROP_RO(PictureBoxControl, "hWnd", hWnd),
};

// Units of each fixed scale mode per pixel, across and down (a character is
// 120 twips wide and 240 high).
struct UnitSize {
  double x, y;
};
UnitSize unitsPerPixel(ScaleMode mode) {
  switch (mode) {
    case ScaleMode::Points: return {0.75, 0.75};
    case ScaleMode::Pixels: return {1, 1};
    case ScaleMode::Characters: return {15.0 / 120, 15.0 / 240};
    case ScaleMode::Inches: return {1.0 / 96, 1.0 / 96};
    case ScaleMode::Millimeters: return {25.4 / 96, 25.4 / 96};
    case ScaleMode::Centimeters: return {2.54 / 96, 2.54 / 96};
    default: return {kTwipsPerPixel, kTwipsPerPixel};
  }
}
}  // namespace

PictureBoxControl::PictureBoxControl(QString name, int index, QWidget* parent)
    : VbControl(std::move(name), index, parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFont(font_.qfont());
}

const PropertyTable& PictureBoxControl::propertyTable() const {
  static const PropertyTable table{kProps, &VbControl::propertyTable()};
  return table;
}

void PictureBoxControl::setBackColor(int c) {
  backColor_ = c;
  update();
}

bool PictureBoxControl::loadPicture(const QString& nativePath) {
  const ControlPicture picture = LoadControlPicture(nativePath);
  setPictureImage(picture.image, picture.source);
  return picture.loaded;
}

void PictureBoxControl::setPictureImage(const QImage& image, const QString& sourcePath) {
  picture_ = image;
  picturePath_ = sourcePath;
  fitToPicture();
  update();
}

void PictureBoxControl::setAutoSize(bool a) {
  autoSize_ = a;
  fitToPicture();
}

void PictureBoxControl::setBorderStyle(int b) {
  borderStyle_ = b;
  fitToPicture();
  update();
}

void PictureBoxControl::fitToPicture() {
  if (!autoSize_ || picture_.isNull()) return;
  const int border = 2 * borderPixels();
  setPixelSize(picture_.width() + border, picture_.height() + border);
}

// ---- Scale ------------------------------------------------------------------------

QRect PictureBoxControl::clientRect() const {
  const int b = borderPixels();
  return rect().adjusted(b, b, -b, -b);
}

void PictureBoxControl::setScaleModeValue(int mode) {
  if (mode < 0 || mode > 7) return;
  if (mode == 0) {
    // A user scale starts as what the box measured until now.
    scaleWidth_ = scaleWidth(), scaleHeight_ = scaleHeight();
  } else {
    scaleLeft_ = scaleTop_ = 0;
  }
  scaleMode_ = static_cast<ScaleMode>(mode);
}

double PictureBoxControl::unitsPerPixelX() const {
  if (scaleMode_ != ScaleMode::User) return unitsPerPixel(scaleMode_).x;
  const int w = clientRect().width();
  return w > 0 ? scaleWidth_ / w : 0;
}
double PictureBoxControl::unitsPerPixelY() const {
  if (scaleMode_ != ScaleMode::User) return unitsPerPixel(scaleMode_).y;
  const int h = clientRect().height();
  return h > 0 ? scaleHeight_ / h : 0;
}

double PictureBoxControl::scaleWidth() const {
  return scaleMode_ == ScaleMode::User ? scaleWidth_ : std::max(0, clientRect().width()) * unitsPerPixelX();
}
double PictureBoxControl::scaleHeight() const {
  return scaleMode_ == ScaleMode::User ? scaleHeight_ : std::max(0, clientRect().height()) * unitsPerPixelY();
}
void PictureBoxControl::setScaleWidth(double v) {
  if (scaleMode_ != ScaleMode::User) scaleHeight_ = scaleHeight();
  scaleWidth_ = v, scaleMode_ = ScaleMode::User;
}
void PictureBoxControl::setScaleHeight(double v) {
  if (scaleMode_ != ScaleMode::User) scaleWidth_ = scaleWidth();
  scaleHeight_ = v, scaleMode_ = ScaleMode::User;
}

QPoint PictureBoxControl::toPixel(double x, double y) const {
  const double ux = unitsPerPixelX(), uy = unitsPerPixelY();
  auto pixel = [](double units, double per) {
    if (per == 0 || !std::isfinite(units)) return 0.0;
    return std::clamp(std::floor(units / per), -1.0e6, 1.0e6);
  };
  const QRect c = clientRect();
  return {c.left() + static_cast<int>(pixel(x - scaleLeft_, ux)), c.top() + static_cast<int>(pixel(y - scaleTop_, uy))};
}

// ---- Drawing ----------------------------------------------------------------------

QImage& PictureBoxControl::drawingLayer() {
  const QSize sz = QWidget::size();
  if (drawn_.size() != sz) {
    QImage fresh(sz, QImage::Format_ARGB32_Premultiplied);
    fresh.fill(Qt::transparent);
    if (!drawn_.isNull()) {
      QPainter copy(&fresh);
      copy.drawImage(0, 0, drawn_);
    }
    drawn_ = fresh;
  }
  return drawn_;
}

void PictureBoxControl::cls() {
  drawn_ = QImage();
  currentX_ = scaleMode_ == ScaleMode::User ? scaleLeft_ : 0;
  currentY_ = scaleMode_ == ScaleMode::User ? scaleTop_ : 0;
  update();
}

void PictureBoxControl::paintPicture(const QImage& image, double xTwips, double yTwips) {
  if (image.isNull() || QWidget::size().isEmpty()) return;
  QPainter p(&drawingLayer());
  p.drawImage(twipsToPixels(xTwips), twipsToPixels(yTwips), image);
  update();
}

void PictureBoxControl::paintPictureVb(const QImage& image, const PaintArea& a) {
  if (image.isNull() || QWidget::size().isEmpty()) return;
  const double ux = unitsPerPixelX(), uy = unitsPerPixelY();
  if (ux == 0 || uy == 0) return;
  auto pixels = [](double units, double per) {
    return std::isfinite(units) ? static_cast<int>(std::lround(std::clamp(units / per, -1.0e6, 1.0e6))) : 0;
  };
  const QPoint at = toPixel(a.x, a.y);
  const int w = a.width ? pixels(*a.width, ux) : image.width();
  const int h = a.height ? pixels(*a.height, uy) : image.height();
  const int sx = a.sx ? pixels(*a.sx, ux) : 0;
  const int sy = a.sy ? pixels(*a.sy, uy) : 0;
  const int sw = a.sw ? pixels(*a.sw, ux) : image.width() - sx;
  const int sh = a.sh ? pixels(*a.sh, uy) : image.height() - sy;
  QImage part = image.copy(QRect(sx, sy, std::abs(sw), std::abs(sh)).normalized());
  if (part.isNull()) return;
  // A negative width or height on either side mirrors the picture.
  const bool flipX = (w < 0) != (sw < 0), flipY = (h < 0) != (sh < 0);
  if (flipX || flipY) part = part.mirrored(flipX, flipY);
  const QRect to = QRect(at, QSize(std::abs(w), std::abs(h))).translated(w < 0 ? w : 0, h < 0 ? h : 0);
  QPainter p(&drawingLayer());
  p.setClipRect(clientRect());
  p.drawImage(to, part);
  update();
}

void PictureBoxControl::pset(double x, double y, int color) {
  currentX_ = x, currentY_ = y;
  const QPoint at = toPixel(x, y);
  if (!clientRect().contains(at)) return;
  QImage& layer = drawingLayer();
  layer.setPixel(at, colorFromVb(static_cast<uint32_t>(color)).rgba());
  update();
}

int32_t PictureBoxControl::point(double x, double y) const {
  const QPoint at = toPixel(x, y);
  const QRect c = clientRect();
  if (!c.contains(at)) return -1;
  return colorToVb(QColor(paintedImage().pixel(at - c.topLeft())));
}

QImage PictureBoxControl::paintedImage() const {
  const QRect c = clientRect();
  QImage out(c.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  out.fill(Qt::black);
  QPainter p(&out);
  p.translate(-c.topLeft());
  paintOwnLayers(p, c);
  return out;
}

QImage PictureBoxControl::snapshot() {
  QImage out(QWidget::size(), QImage::Format_RGB32);
  out.fill(Qt::black);
  render(&out);
  return out;
}

void PictureBoxControl::setTransparentBack(bool t) {
  transparentBack_ = t;
  setAttribute(Qt::WA_OpaquePaintEvent, !t);
  update();
}

void PictureBoxControl::paintOwnLayers(QPainter& p, const QRect& area) const {
  if (!transparentBack_) p.fillRect(area, colorFromVb(static_cast<uint32_t>(backColor_)));
  const QPoint origin = clientRect().topLeft();
  if (!picture_.isNull()) p.drawImage(origin, picture_);
  if (!drawn_.isNull()) p.drawImage(0, 0, drawn_);
}

void PictureBoxControl::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  paintOwnLayers(p, e->rect());
  if (borderStyle_ != 0) {
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

}  // namespace qm::engine
