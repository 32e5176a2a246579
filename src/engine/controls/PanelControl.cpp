#include "engine/controls/PanelControl.h"

#include <QPainter>

#include "engine/controls/VbColor.h"

namespace qm::engine {

namespace {
const PropertyDef kProps[] = {
    QM_PROP(PanelControl, "BackColor", backColor, setBackColor, toInt),
    QM_PROP(PanelControl, "BorderStyle", borderStyle, setBorderStyle, toInt),
    QM_PROP(PanelControl, "Caption", caption, setCaption, toString),
};
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
}

}  // namespace qm::engine
