#include "startup/frmWelcomeLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace qm::startup {

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent) {
  setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::click() { emit clicked(); }

void ClickableLabel::setKeyboardButton(bool on) {
  keyboardButton_ = on;
  // Tab only: a mouse click presses the button and leaves the focus where it was.
  setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
  update();
}

void ClickableLabel::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool press = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  if (keyboardButton_ && press && mods == Qt::NoModifier) {
    event->accept();
    if (!event->isAutoRepeat()) emit clicked();
    return;
  }
  QLabel::keyPressEvent(event);
}

void ClickableLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!keyboardButton_ || !hasFocus()) return;
  // The focus frame: dotted, in the colour of the label's text, just inside its edge.
  QPainter painter(this);
  painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressed_ = true;
    event->accept();
    return;
  }
  QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && pressed_) {
    pressed_ = false;
    event->accept();
    // A click counts only when the button comes up over the label.
    if (rect().contains(event->position().toPoint())) emit clicked();
    return;
  }
  QLabel::mouseReleaseEvent(event);
}

}  // namespace qm::startup
