// Base of every visible control of the game window: a Qt widget whose position
// and size are kept in twips (15 twips make one pixel), with the properties and
// mouse events every VB-era control had.
#pragma once

#include <QCursor>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <functional>

#include "engine/controls/VbObject.h"

#define QM_PROP(Class, Name, Getter, Setter, Conv)                                        \
  ::qm::engine::PropertyDef {                                                             \
    Name, [](const ::qm::engine::VbObject& o) -> QVariant {                               \
      return QVariant::fromValue(static_cast<const Class&>(o).Getter());                  \
    },                                                                                    \
        [](::qm::engine::VbObject& o, const QVariant& v) { static_cast<Class&>(o).Setter(v.Conv()); } \
  }
#define QM_PROP_RO(Class, Name, Getter)                                     \
  ::qm::engine::PropertyDef {                                               \
    Name, [](const ::qm::engine::VbObject& o) -> QVariant {                 \
      return QVariant::fromValue(static_cast<const Class&>(o).Getter());    \
    },                                                                      \
        nullptr                                                             \
  }

namespace qm::engine {

constexpr int kTwipsPerPixel = 15;
// Damaged files may give any number: positions stay within what a screen can hold.
inline int twipsToPixels(double twips) {
  if (!std::isfinite(twips)) return 0;
  return static_cast<int>(std::lround(std::clamp(twips, -1.0e7, 1.0e7) / kTwipsPerPixel));
}

// VB mouse button values.
enum VbButton { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

// VB mouse pointers the player uses.
enum VbMousePointer { kPointerDefault = 0, kPointerArrow = 1, kPointerHourglass = 11, kPointerCustom = 99 };

// Shows a VB mouse pointer on a widget: 0 the container's, 1 arrow, 2 cross,
// 3 I-beam, 11 hourglass, 99 the icon given (the container's when none).
void applyMousePointer(QWidget& widget, int pointer, const QCursor* icon);

class VbControl : public QWidget, public VbObject {
  Q_OBJECT
 public:
  // Mouse events in VB terms: button 1/2/4, shift state (1 Shift, 2 Ctrl, 4 Alt),
  // position in twips relative to the control.
  using MouseHandler = std::function<void(int button, int shift, double x, double y)>;

  VbControl(QString name, int index, QWidget* parent);

  const PropertyTable& propertyTable() const override;
  QString vbName() const override { return name_; }
  int vbIndex() const override { return index_; }
  void setVbIndex(int i) { index_ = i; }

  double left() const { return left_; }
  double top() const { return top_; }
  double width() const { return width_; }
  double height() const { return height_; }
  void setLeft(double twips);
  void setTop(double twips);
  void setWidth(double twips);
  void setHeight(double twips);
  void move(double left, double top) { setLeft(left), setTop(top); }
  void move(double left, double top, double width, double height);

  bool visible() const { return !isHidden(); }
  void setVisibleVb(bool v) { setVisible(v); }
  bool enabled() const { return isEnabled(); }
  void setEnabledVb(bool v) { setEnabled(v); }
  QString tag() const { return tag_; }
  void setTag(const QString& t) { tag_ = t; }
  QString toolTipText() const { return toolTip(); }
  void setToolTipText(const QString& t) { setToolTip(t); }
  int whatsThisHelpId() const { return whatsThisHelpId_; }
  void setWhatsThisHelpId(int v) { whatsThisHelpId_ = v; }

  // Pointer: 0 inherits the container's, 1 arrow, 11 hourglass, 99 the MouseIcon.
  int mousePointer() const { return mousePointer_; }
  void setMousePointer(int pointer);
  // Native path of the icon or cursor file; "" for none. A file that cannot be
  // decoded leaves no icon.
  QString mouseIcon() const { return mouseIconPath_; }
  void setMouseIcon(const QString& path);
  void setMouseIconCursor(const QCursor& cursor, const QString& path);

  // "Bring to the front" (ZOrder 0) and "send to the back" (ZOrder 1).
  void zOrder(int position = 0);

  MouseHandler onMouseDown, onMouseUp, onMouseMove;
  std::function<void()> onClick;

  // For control arrays: a newly loaded element starts hidden; an unloaded one
  // no longer reports events.
  void placeOnTop() { raise();}
  void hideControl() { setVisible(false); }
  void detachHandlers() { onMouseDown = onMouseUp = onMouseMove = nullptr, onClick = nullptr; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  // Called when the size in pixels changed through the Width/Height properties.
  virtual void sizeChanged() {}
  void applyGeometry();
  // AutoSize-style controls set their size in pixels and keep twips in step.
  void setPixelSize(int w, int h);

 private:
  void applyPointer();
  QString name_;
  int index_;
  double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  QString tag_;
  int whatsThisHelpId_ = 0;
  int mousePointer_ = 0;
  QString mouseIconPath_;
  QCursor mouseIconCursor_;
  bool hasIconCursor_ = false;
};

}  // namespace qm::engine
