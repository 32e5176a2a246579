// A frame (panel): a filled rectangle that holds other controls, with its
// caption at the top left in its font and fore colour.
#pragma once

#include "engine/controls/VbControl.h"
#include "engine/controls/VbFont.h"

namespace qm::engine {

class PanelControl : public VbControl {
  Q_OBJECT
 public:
  PanelControl(QString name, int index, QWidget* parent);
  const PropertyTable& propertyTable() const override;

  int backColor() const { return backColor_; }
  void setBackColor(int c) { backColor_ = c, update(); }
  int foreColor() const { return foreColor_; }
  void setForeColor(int c) { foreColor_ = c, update(); }
  const VbFont& vbFont() const { return font_; }
  void setVbFont(const VbFont& f) { font_ = f, update(); }
  int borderStyle() const { return borderStyle_; }
  void setBorderStyle(int b) { borderStyle_ = b, update(); }
  QString caption() const { return caption_; }
  void setCaption(const QString& c) { caption_ = c, update(); }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  int backColor_ = 0x8000000F;  // button face
  int foreColor_ = 0x80000012;  // button text
  VbFont font_;
  int borderStyle_ = 0;
  QString caption_;
};

}  // namespace qm::engine
