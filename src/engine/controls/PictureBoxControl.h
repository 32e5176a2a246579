// A picture box: a back colour, an optional picture at its top left, and a
// drawing layer that PaintPicture and PSet paint into and Cls clears. It holds
// other controls (the game picture holds every frame control). Scripts draw in
// the box's scale (twips unless they choose another unit or their own scale),
// inside its border.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <optional>

class QPainter;

#include "engine/controls/VbControl.h"
#include "engine/controls/VbFont.h"

namespace qm::engine {

// VB's scale modes: a user scale, or a unit.
enum class ScaleMode { User = 0, Twips = 1, Points = 2, Pixels = 3, Characters = 4, Inches = 5, Millimeters = 6,
                       Centimeters = 7 };

class PictureBoxControl : public VbControl {
  Q_OBJECT
 public:
  PictureBoxControl(QString name, int index, QWidget* parent);
  const PropertyTable& propertyTable() const override;

  int backColor() const { return backColor_; }
  void setBackColor(int c);
  int foreColor() const { return foreColor_; }
  void setForeColor(int c) { foreColor_ = c; }
  const VbFont& vbFont() const { return font_; }
  void setVbFont(const VbFont& f) { font_ = f, setFont(f.qfont()); }
  QString picture() const { return picturePath_; }
  bool loadPicture(const QString& nativePath);
  void setPictureProperty(const QString& p) { loadPicture(p); }
  void setPictureImage(const QImage& image, const QString& sourcePath = {});
  void clearPicture() { setPictureImage(QImage()); }
  const QImage& image() const { return picture_; }
  bool autoRedraw() const { return autoRedraw_; }
  void setAutoRedraw(bool a) { autoRedraw_ = a; }
  // With AutoSize the box takes its picture's size (and its border's).
  bool autoSize() const { return autoSize_; }
  void setAutoSize(bool a);
  // 0 none, 1 a one-pixel line inside the box's edge.
  int borderStyle() const { return borderStyle_; }
  void setBorderStyle(int b);

  // The scale scripts draw in.
  int scaleModeValue() const { return static_cast<int>(scaleMode_); }
  void setScaleModeValue(int mode);
  double scaleLeft() const { return scaleLeft_; }
  void setScaleLeft(double v) { scaleLeft_ = v, scaleMode_ = ScaleMode::User; }
  double scaleTop() const { return scaleTop_; }
  void setScaleTop(double v) { scaleTop_ = v, scaleMode_ = ScaleMode::User; }
  // The inside of the box (within its border) in the scale's units.
  double scaleWidth() const;
  void setScaleWidth(double v);
  double scaleHeight() const;
  void setScaleHeight(double v);
  double currentX() const { return currentX_; }
  void setCurrentX(double v) { currentX_ = v; }
  double currentY() const { return currentY_; }
  void setCurrentY(double v) { currentY_ = v; }
  // The inside of the box in pixels, relative to the box.
  QRect clientRect() const;
  // A point in the scale, as a pixel of the box.
  QPoint toPixel(double x, double y) const;

  // Clears what was drawn (the picture and back colour stay).
  void cls();
  // Draws an image at a position in twips from the box's corner, at its own size.
  void paintPicture(const QImage& image, double xTwips, double yTwips);
  // VB's PaintPicture: the image into the rectangle (x, y, width, height) and
  // from the part (sx, sy, sw, sh) of it, all in the box's scale; a size not
  // given is the image's own, a negative one mirrors the image.
  struct PaintArea {
    double x = 0, y = 0;
    std::optional<double> width, height, sx, sy, sw, sh;
  };
  void paintPictureVb(const QImage& image, const PaintArea& area);
  // One pixel in a VB colour (the fore colour when none is given).
  void pset(double x, double y, int color);
  // The colour shown at a point in the scale; -1 outside the box's inside.
  int32_t point(double x, double y) const;
  // What the box itself shows inside its border: back colour, picture and
  // what was drawn on it (VB's Image).
  QImage paintedImage() const;
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
  int borderPixels() const { return borderStyle_ != 0 ? 1 : 0; }
  // Scale units per pixel across and down.
  double unitsPerPixelX() const;
  double unitsPerPixelY() const;
  void fitToPicture();
  // The drawing layer at the box's size, kept when the box grows.
  QImage& drawingLayer();

  int backColor_ = 0x8000000F;
  int foreColor_ = 0x80000012;  // button text
  VbFont font_;
  int borderStyle_ = 0;
  bool autoRedraw_ = true;
  bool autoSize_ = false;
  bool transparentBack_ = false;
  ScaleMode scaleMode_ = ScaleMode::Twips;
  double scaleLeft_ = 0, scaleTop_ = 0, scaleWidth_ = 0, scaleHeight_ = 0;  // user scale
  double currentX_ = 0, currentY_ = 0;
  QImage picture_;
  QString picturePath_;
  QImage drawn_;  // ARGB; null when nothing was drawn
};

}  // namespace qm::engine
