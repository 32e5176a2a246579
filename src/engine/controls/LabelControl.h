// A label: a caption drawn in its font and colour, transparent or on its back
// colour, optionally sizing itself to its text.
#pragma once

#include <QColor>

#include "engine/controls/VbControl.h"
#include "engine/controls/VbFont.h"

namespace qm::engine {

class LabelControl : public VbControl {
  Q_OBJECT
 public:
  LabelControl(QString name, int index, QWidget* parent);
  const PropertyTable& propertyTable() const override;

  QString caption() const { return caption_; }
  void setCaption(const QString& c);
  bool autoSize() const { return autoSize_; }
  void setAutoSize(bool a);
  bool wordWrap() const { return wordWrap_; }
  void setWordWrap(bool w);
  int alignment() const { return alignment_; }  // 0 left, 1 right, 2 centre
  void setAlignment(int a) { alignment_ = a, update(); }
  int backStyle() const { return backStyle_; }  // 0 transparent, 1 opaque
  void setBackStyle(int b) { backStyle_ = b, update(); }
  int borderStyle() const { return borderStyle_; }
  void setBorderStyle(int b) { borderStyle_ = b, update(); }
  int backColor() const { return backColor_; }
  void setBackColor(int c) { backColor_ = c, update(); }
  int foreColor() const { return foreColor_; }
  void setForeColor(int c) { foreColor_ = c, update(); }

  const VbFont& vbFont() const { return font_; }
  void setVbFont(const VbFont& f);
  QString fontName() const { return font_.name(); }
  void setFontName(const QString& n);
  double fontSize() const { return font_.size(); }
  void setFontSize(double points);
  bool fontBold() const { return font_.bold(); }
  void setFontBold(bool b);
  bool fontItalic() const { return font_.italic(); }
  void setFontItalic(bool b);
  bool fontUnderline() const { return font_.underline(); }
  void setFontUnderline(bool b);
  bool fontStrikethru() const { return font_.strikethru(); }
  void setFontStrikethru(bool b);

 protected:
  void paintEvent(QPaintEvent*) override;
  void sizeChanged() override { update(); }

 private:
  void fontChanged();
  void fitToText();
  QString displayText() const;
  QString caption_;
  bool autoSize_ = false;
  bool wordWrap_ = false;
  int alignment_ = 0;
  int backStyle_ = 0;
  int borderStyle_ = 0;
  int backColor_ = 0xFFFFFF;
  int foreColor_ = 0;
  VbFont font_;
};

}  // namespace qm::engine
