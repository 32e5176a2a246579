// A picture box: a back colour, an optional picture at its top left, and a
// drawing layer that PaintPicture paints into and Cls clears. It holds other
// controls (the game picture holds every frame control).
#pragma once

#include <QImage>

class QPainter;

#include "engine/controls/VbControl.h"

namespace qm::engine {

class PictureBoxControl : public VbControl {
  Q_OBJECT
 public:
  PictureBoxControl(QString name, int index, QWidget* parent);
  const PropertyTable& propertyTable() const override;

  int backColor() const { return backColor_; }
  void setBackColor(int c);
  QString picture() const { return picturePath_; }
  bool loadPicture(const QString& nativePath);
  void setPictureProperty(const QString& p) { loadPicture(p); }
  void setPictureImage(const QImage& image, const QString& sourcePath = {});
  void clearPicture() { setPictureImage(QImage()); }
  const QImage& image() const { return picture_; }
  bool autoRedraw() const { return autoRedraw_; }
  void setAutoRedraw(bool a) { autoRedraw_ = a; }
  int borderStyle() const { return borderStyle_; }
  void setBorderStyle(int b) { borderStyle_ = b, update(); }

  // Clears what was drawn (the picture and back colour stay).
  void cls();
  // Draws an image at a position in twips, at its own size.
  void paintPicture(const QImage& image, double xTwips, double yTwips);
  // What the box shows now, children included, at its own size.
  QImage snapshot();
  // What the box itself shows, without its children: back colour, picture and
  // what was drawn on it.
  void paintOwnLayers(QPainter& p, const QRect& area) const;
  // A transparent box shows what lies behind it where it has no picture
  // (the boxes that hold animated pictures).
  void setTransparentBack(bool t);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  int backColor_ = 0x8000000F;
  int borderStyle_ = 0;
  bool autoRedraw_ = true;
  bool transparentBack_ = false;
  QImage picture_;
  QString picturePath_;
  QImage drawn_;  // ARGB; null when nothing was drawn
};

}  // namespace qm::engine
