// A label of the welcome window that reacts to clicks: text buttons, picture
// buttons, links, the logo and the resolution caption. The buttons are also
// keyboard buttons: Tab reaches them, a dotted frame shows which one has the
// focus, and Enter or Space presses it.
#pragma once

#include <QLabel>

namespace qm::startup {

class ClickableLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickableLabel(QWidget* parent = nullptr);

  // Performs a click as the mouse would (left button pressed and released on it).
  void click();

  // Makes the label a keyboard button (see above). A key held down presses it
  // once: the keyboard's repeats do not count.
  void setKeyboardButton(bool on);
  bool keyboardButton() const { return keyboardButton_; }

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool pressed_ = false;
  bool keyboardButton_ = false;
};

}  // namespace qm::startup
