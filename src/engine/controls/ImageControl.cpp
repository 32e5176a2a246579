#include "engine/controls/ImageControl.h"

#include <QPainter>

#include "engine/PictureCache.h"

namespace qm::engine {

namespace {
const PropertyDef kProps[] = {
    QM_PROP(ImageControl, "Picture", picture, setPictureProperty, toString),
    QM_PROP(ImageControl, "Stretch", stretch, setStretch, toBool),
    QM_PROP(ImageControl, "BorderStyle", borderStyle, setBorderStyle, toInt),
};
}  // namespace

ImageControl::ImageControl(QString name, int index, QWidget* parent) : VbControl(std::move(name), index, parent) {}

const PropertyTable& ImageControl::propertyTable() const {
  static const PropertyTable table{kProps, &VbControl::propertyTable()};
  return table;
}

bool ImageControl::loadPicture(const QString& nativePath) {
  const ControlPicture picture = LoadControlPicture(nativePath);
  setPictureImage(picture.image, picture.source);
  return picture.loaded;
}

void ImageControl::setPictureImage(const QImage& image, const QString& sourcePath) {
  image_ = image;
  picturePath_ = sourcePath;
  fitToPicture();
  update();
}

void ImageControl::setStretch(bool s) {
  stretch_ = s;
  fitToPicture();
  update();
}

// Without stretching the control takes the size of its picture.
void ImageControl::fitToPicture() {
  if (!stretch_ && !image_.isNull()) setPixelSize(image_.width(), image_.height());
}

void ImageControl::paintEvent(QPaintEvent*) {
  if (image_.isNull() && borderStyle_ == 0) return;
  QPainter p(this);
  if (!image_.isNull()) {
    if (stretch_) {
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      p.drawImage(rect(), image_);
    } else {
      p.drawImage(0, 0, image_);
    }
  }
  if (borderStyle_ != 0) {
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

}  // namespace qm::engine
