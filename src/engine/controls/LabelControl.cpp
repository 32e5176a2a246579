#include "engine/controls/LabelControl.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

#include "engine/controls/VbColor.h"

namespace qm::engine {

namespace {
const PropertyDef kProps[] = {
    QM_PROP(LabelControl, "Caption", caption, setCaption, toString),
    QM_PROP(LabelControl, "AutoSize", autoSize, setAutoSize, toBool),
    QM_PROP(LabelControl, "WordWrap", wordWrap, setWordWrap, toBool),
    QM_PROP(LabelControl, "Alignment", alignment, setAlignment, toInt),
    QM_PROP(LabelControl, "BackStyle", backStyle, setBackStyle, toInt),
    QM_PROP(LabelControl, "BorderStyle", borderStyle, setBorderStyle, toInt),
    QM_PROP(LabelControl, "BackColor", backColor, setBackColor, toInt),
    QM_PROP(LabelControl, "ForeColor", foreColor, setForeColor, toInt),
    QM_FONT_PROPS(LabelControl),
};
}  // namespace

LabelControl::LabelControl(QString name, int index, QWidget* parent) : VbControl(std::move(name), index, parent) {
  fontChanged();
}

const PropertyTable& LabelControl::propertyTable() const {
  static const PropertyTable table{kProps, &VbControl::propertyTable()};
  return table;
}

void LabelControl::setCaption(const QString& c) {
  caption_ = c;
  fitToText();
  update();
}
void LabelControl::setAutoSize(bool a) {
  autoSize_ = a;
  fitToText();
}
void LabelControl::setWordWrap(bool w) {
  wordWrap_ = w;
  fitToText();
}
void LabelControl::setVbFont(const VbFont& f) {
  font_ = f;
  fontChanged();
}
void LabelControl::setFontName(const QString& n) { font_.setName(n), fontChanged(); }
void LabelControl::setFontSize(double points) { font_.setSize(points), fontChanged(); }
void LabelControl::setFontBold(bool b) { font_.setBold(b), fontChanged(); }
void LabelControl::setFontItalic(bool b) { font_.setItalic(b), fontChanged(); }
void LabelControl::setFontUnderline(bool b) { font_.setUnderline(b), fontChanged(); }
void LabelControl::setFontStrikethru(bool b) { font_.setStrikethru(b), fontChanged(); }

void LabelControl::fontChanged() {
  setFont(font_.qfont());
  fitToText();
  update();
}

QString LabelControl::displayText() const {
  QString t = caption_;
  t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t;
}

void LabelControl::fitToText() {
  if (!autoSize_) return;
  QFontMetrics fm(font_.qfont());
  const QString t = displayText();
  QRect r;
  if (wordWrap_) {
    r = fm.boundingRect(QRect(0, 0, std::max(1, QWidget::width()), 100000), Qt::TextWordWrap, t);
    setPixelSize(std::max(QWidget::width(), r.width()), std::max(fm.height(), r.height()));
  } else {
    r = fm.boundingRect(QRect(0, 0, 100000, 100000), 0, t.isEmpty() ? QStringLiteral(" ") : t);
    setPixelSize(t.isEmpty() ? 0 : r.width() + 1, std::max(fm.height(), r.height()));
  }
}

void LabelControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (backStyle_ != 0) p.fillRect(rect(), colorFromVb(backColor_));
  p.setFont(font_.qfont());
  p.setPen(colorFromVb(foreColor_));
  int flags = Qt::AlignTop;
  flags |= alignment_ == 1 ? Qt::AlignRight : alignment_ == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
  if (wordWrap_ || !autoSize_) flags |= Qt::TextWordWrap;
  p.drawText(rect(), flags, displayText());
  if (borderStyle_ != 0) {
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

}  // namespace qm::engine
