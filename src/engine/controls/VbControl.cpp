#include "engine/controls/VbControl.h"

#include <QApplication>
#include <QMouseEvent>
#include <cmath>

#include "engine/CursorFile.h"

namespace qm::engine {

namespace {
int vbButton(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return kLeftButton;
    case Qt::RightButton: return kRightButton;
    case Qt::MiddleButton: return kMiddleButton;
    default: return 0;
  }
}
int vbButtons(Qt::MouseButtons b) {
  int r = 0;
  if (b & Qt::LeftButton) r |= kLeftButton;
  if (b & Qt::RightButton) r |= kRightButton;
  if (b & Qt::MiddleButton) r |= kMiddleButton;
  return r;
}
int vbShift(Qt::KeyboardModifiers m) {
  int r = 0;
  if (m & Qt::ShiftModifier) r |= 1;
  if (m & Qt::ControlModifier) r |= 2;
  if (m & Qt::AltModifier) r |= 4;
  return r;
}

const PropertyDef kProps[] = {
    QM_PROP(VbControl, "Left", left, setLeft, toDouble),
    QM_PROP(VbControl, "Top", top, setTop, toDouble),
    QM_PROP(VbControl, "Width", width, setWidth, toDouble),
    QM_PROP(VbControl, "Height", height, setHeight, toDouble),
    QM_PROP(VbControl, "Visible", visible, setVisibleVb, toBool),
    QM_PROP(VbControl, "Enabled", enabled, setEnabledVb, toBool),
    QM_PROP(VbControl, "Tag", tag, setTag, toString),
    QM_PROP(VbControl, "ToolTipText", toolTipText, setToolTipText, toString),
    QM_PROP(VbControl, "WhatsThisHelpID", whatsThisHelpId, setWhatsThisHelpId, toInt),
    QM_PROP(VbControl, "MousePointer", mousePointer, setMousePointer, toInt),
    QM_PROP(VbControl, "MouseIcon", mouseIcon, setMouseIcon, toString),
    QM_PROP_RO(VbControl, "Name", vbName),
    QM_PROP_RO(VbControl, "Index", vbIndex),
};
const PropertyTable kTable{kProps, nullptr};
}  // namespace

VbControl::VbControl(QString name, int index, QWidget* parent)
    : QWidget(parent), name_(std::move(name)), index_(index) {
  setMouseTracking(true);
}

const PropertyTable& VbControl::propertyTable() const { return kTable; }

void VbControl::applyGeometry() {
  setGeometry(twipsToPixels(left_), twipsToPixels(top_), std::max(0, twipsToPixels(width_)),
              std::max(0, twipsToPixels(height_)));
}

// Positions snap to whole pixels: a control always stands on the pixel grid.
void VbControl::setLeft(double t) {
  left_ = twipsToPixels(t) * kTwipsPerPixel;
  QWidget::move(twipsToPixels(left_), y());
}
void VbControl::setTop(double t) {
  top_ = twipsToPixels(t) * kTwipsPerPixel;
  QWidget::move(x(), twipsToPixels(top_));
}
void VbControl::setWidth(double t) {
  width_ = std::max(0, twipsToPixels(t)) * kTwipsPerPixel;
  QWidget::resize(twipsToPixels(width_), QWidget::height());
  sizeChanged();
}
void VbControl::setHeight(double t) {
  height_ = std::max(0, twipsToPixels(t)) * kTwipsPerPixel;
  QWidget::resize(QWidget::width(), twipsToPixels(height_));
  sizeChanged();
}
void VbControl::move(double l, double t, double w, double h) {
  left_ = twipsToPixels(l) * kTwipsPerPixel;
  top_ = twipsToPixels(t) * kTwipsPerPixel;
  width_ = std::max(0, twipsToPixels(w)) * kTwipsPerPixel;
  height_ = std::max(0, twipsToPixels(h)) * kTwipsPerPixel;
  applyGeometry();
  sizeChanged();
}

void VbControl::setPixelSize(int w, int h) {
  width_ = std::max(0, w) * kTwipsPerPixel;
  height_ = std::max(0, h) * kTwipsPerPixel;
  QWidget::resize(std::max(0, w), std::max(0, h));
}

void VbControl::setMousePointer(int pointer) {
  mousePointer_ = pointer;
  applyPointer();
}

void VbControl::setMouseIcon(const QString& path) {
  if (path.isEmpty()) {
    mouseIconPath_.clear();
    hasIconCursor_ = false;
  } else if (auto c = loadCursorFile(path)) {
    mouseIconPath_ = path;
    mouseIconCursor_ = *c;
    hasIconCursor_ = true;
  } else {
    mouseIconPath_.clear();
    hasIconCursor_ = false;
  }
  applyPointer();
}

void VbControl::setMouseIconCursor(const QCursor& cursor, const QString& path) {
  mouseIconPath_ = path;
  mouseIconCursor_ = cursor;
  hasIconCursor_ = true;
  applyPointer();
}

void applyMousePointer(QWidget& w, int pointer, const QCursor* icon) {
  switch (pointer) {
    case kPointerArrow: w.setCursor(Qt::ArrowCursor); break;
    case kPointerHourglass: w.setCursor(Qt::WaitCursor); break;
    case kPointerCustom:
      if (icon) w.setCursor(*icon);
      else w.unsetCursor();
      break;
    case 3: w.setCursor(Qt::IBeamCursor); break;
    case 2: w.setCursor(Qt::CrossCursor); break;
    default: w.unsetCursor(); break;
  }
}

void VbControl::applyPointer() { applyMousePointer(*this, mousePointer_, hasIconCursor_ ? &mouseIconCursor_ : nullptr); }

void VbControl::zOrder(int position) {
  if (position == 0) raise();
  else lower();
}

void VbControl::mousePressEvent(QMouseEvent* e) {
  const QPointF p = e->position();
  if (onMouseDown) onMouseDown(vbButton(e->button()), vbShift(e->modifiers()), p.x() * kTwipsPerPixel,
                               p.y() * kTwipsPerPixel);
  else QWidget::mousePressEvent(e);
}

void VbControl::mouseReleaseEvent(QMouseEvent* e) {
  const QPointF p = e->position();
  if (onMouseUp) onMouseUp(vbButton(e->button()), vbShift(e->modifiers()), p.x() * kTwipsPerPixel,
                           p.y() * kTwipsPerPixel);
  if (onClick && e->button() == Qt::LeftButton && rect().contains(p.toPoint())) {
    // The handler may unload this control (and drop its own handler) while it runs.
    const auto click = onClick;
    click();
  }
  if (!onMouseUp && !onClick) QWidget::mouseReleaseEvent(e);
}

void VbControl::mouseMoveEvent(QMouseEvent* e) {
  const QPointF p = e->position();
  if (onMouseMove) onMouseMove(vbButtons(e->buttons()), vbShift(e->modifiers()), p.x() * kTwipsPerPixel,
                               p.y() * kTwipsPerPixel);
  else QWidget::mouseMoveEvent(e);
}

}  // namespace qm::engine
