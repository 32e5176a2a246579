// An image control: shows a picture, stretched to its size or at the picture's
// own size (the control then takes that size). Transparent where it shows
// nothing, so what lies below stays visible.
#pragma once

#include <QImage>

#include "engine/controls/VbControl.h"

namespace qm::engine {

class ImageControl : public VbControl {
  Q_OBJECT
 public:
  ImageControl(QString name, int index, QWidget* parent);
  const PropertyTable& propertyTable() const override;

  // The file the picture came from ("" for none or a picture set in code).
  QString picture() const { return picturePath_; }
  // Loads a native path through the picture cache; "" clears. Returns false
  // when the file could not be decoded (the picture is then cleared).
  bool loadPicture(const QString& nativePath);
  void setPictureProperty(const QString& nativePath) { loadPicture(nativePath); }
  void setPictureImage(const QImage& image, const QString& sourcePath = {});
  void clearPicture() { setPictureImage(QImage()); }
  const QImage& image() const { return image_; }
  bool hasPicture() const { return !image_.isNull(); }

  bool stretch() const { return stretch_; }
  void setStretch(bool s);
  int borderStyle() const { return borderStyle_; }
  void setBorderStyle(int b) { borderStyle_ = b, update(); }

 protected:
  void paintEvent(QPaintEvent*) override;
  void sizeChanged() override { update(); }

 private:
  void fitToPicture();
  QImage image_;
  QString picturePath_;
  bool stretch_ = false;
  int borderStyle_ = 0;
};

}  // namespace qm::engine
