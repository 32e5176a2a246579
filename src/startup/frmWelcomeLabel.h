// A label of the welcome window that reacts to clicks: text buttons, picture
// buttons, links, the logo and the resolution caption.
#pragma once

#include <QLabel>

namespace qm::startup {

class ClickableLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickableLabel(QWidget* parent = nullptr);

  // Performs a click as the mouse would (left button pressed and released on it).
  void click();

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace qm::startup
