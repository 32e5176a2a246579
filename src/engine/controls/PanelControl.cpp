#include "engine/controls/PanelControl.h"

#include <QPainter>

#include "engine/controls/VbColor.h"

namespace qm::engine {

namespace {
const PropertyDef kProps[] = {
    QM_PROP(PanelControl, "BackColor", backColor, setBackColor, toInt),
    QM_PROP(PanelControl, "ForeColor", foreColor, setForeColor, toInt),
    QM_FONT_PROPS(PanelControl),
    QM_PROP(PanelControl, "BorderStyle", borderStyle, setBorderStyle, toInt),
    QM_PROP(PanelControl, "Caption", caption, setCaption, toString),
    QM_PROP_RO(PanelControl, "hWnd", hWnd),
};
// The caption stands a few pixels in from the left edge.
constexpr int kCaptionIndent = 8;
}  // namespace

PanelControl::PanelControl(QString name, int index, QWidget* parent) : VbControl(std::move(name), index, parent) {}

const PropertyTable& PanelControl::propertyTable() const {
  static const PropertyTable table{kProps, &VbControl::propertyTable()};
  return table;
}

void PanelControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), colorFromVb(static_cast<uint32_t>(backColor_)));
  if (borderStyle_ != 0) {
    p.setPen(Qt::gray);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
  if (!caption_.isEmpty()) {
    p.setFont(font_.qfont());
    p.setPen(colorFromVb(static_cast<uint32_t>(foreColor_)));
    p.drawText(rect().adjusted(kCaptionIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption_);
  }
}

}  // namespace qm::engine
