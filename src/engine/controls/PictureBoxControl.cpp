#include "engine/controls/PictureBoxControl.h"

#include <QPaintEvent>
#include <QPainter>

#include "engine/PictureCache.h"
#include "engine/controls/VbColor.h"

namespace qm::engine {

namespace {
const PropertyDef kProps[] = {
    QM_PROP(PictureBoxControl, "BackColor", backColor, setBackColor, toInt),
    QM_PROP(PictureBoxControl, "Picture", picture, setPictureProperty, toString),
    QM_PROP(PictureBoxControl, "AutoRedraw", autoRedraw, setAutoRedraw, toBool),
    QM_PROP(PictureBoxControl, "BorderStyle", borderStyle, setBorderStyle, toInt),
};
}  // namespace

PictureBoxControl::PictureBoxControl(QString name, int index, QWidget* parent)
    : VbControl(std::move(name), index, parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
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
  update();
}

void PictureBoxControl::cls() {
  drawn_ = QImage();
  update();
}

void PictureBoxControl::paintPicture(const QImage& image, double xTwips, double yTwips) {
  if (image.isNull()) return;
  const QSize sz = QWidget::size();
  if (sz.isEmpty()) return;
  if (drawn_.size() != sz) {
    QImage fresh(sz, QImage::Format_ARGB32_Premultiplied);
    fresh.fill(Qt::transparent);
    if (!drawn_.isNull()) {
      QPainter copy(&fresh);
      copy.drawImage(0, 0, drawn_);
    }
    drawn_ = fresh;
  }
  QPainter p(&drawn_);
  p.drawImage(twipsToPixels(xTwips), twipsToPixels(yTwips), image);
  update();
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
  if (!picture_.isNull()) p.drawImage(0, 0, picture_);
  if (!drawn_.isNull()) p.drawImage(0, 0, drawn_);
}

void PictureBoxControl::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  paintOwnLayers(p, e->rect());
}

}  // namespace qm::engine
