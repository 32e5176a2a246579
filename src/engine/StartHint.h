// The small note over a full-screen game at its start, "Esc or right-click:
// menu · Ctrl+Q: quit": the window has no border and no menu bar, and nothing
// else tells a new player how to reach them. It fades after a few seconds and
// stays away for good once the player has opened the menu (a player-wide
// setting). It is a child of the window, above the picture and never part of
// it, so screenshots and captures of the frame picture do not show it.
#pragma once

#include <QLabel>
#include <QTimer>

class QGraphicsOpacityEffect;
class QPropertyAnimation;

namespace qm::engine {

class StartHint : public QLabel {
  Q_OBJECT
 public:
  explicit StartHint(QWidget* window);

  // Shows the hint, unless the player has found the menu before (in any
  // game). withMenu: the game has a menu bar (else only Ctrl+Q is mentioned).
  void offer(bool withMenu);
  // The player opened the menu: the hint goes and is not offered again.
  void menuFound();
  // Top centre of the window.
  void place();

  // Whether the player has opened the menu in some game before.
  static bool menuKnown();

  // How long the hint stays before it fades, and how long the fade takes.
  static void setTimesForTests(int shownMs, int fadeMs);

 private:
  void startFading();

  QTimer wait_;
  QGraphicsOpacityEffect* opacity_ = nullptr;
  QPropertyAnimation* fade_ = nullptr;
};

}  // namespace qm::engine
