// The window's keys and the presses on its background. Esc and the right
// button show or hide the menu bar (and ask a running video or transition to
// end), Ctrl+L, Ctrl+S and Ctrl+Q load, save and quit, and a fixed sequence of
// four function keys reveals the Debug menu. Keyboard play and the questions
// of a dialogue get their keys first.
#pragma once

class QKeyEvent;
class QMouseEvent;

namespace qm::engine {

class Game;

class GameInput {
 public:
  explicit GameInput(Game& game) : game_(game) {}
  GameInput(const GameInput&) = delete;
  GameInput& operator=(const GameInput&) = delete;

  // A key pressed or released anywhere in the window.
  void keyPressed(const QKeyEvent& event);
  void keyReleased(const QKeyEvent& event);
  // The window's key-down with a VB key code and shift state (1 Shift, 2 Ctrl, 4 Alt).
  void KeyDown(int vbKeyCode, int shift);
  // A press on the window background or a text box; button 1 left, 2 right,
  // 4 middle. It ends a running video or transition, then does the menus.
  void BackgroundMouseDown(int button);
  // The menus' share of a press: right shows the menu bar or hides it (unless
  // a menu was opened), any other button hides it. A press on the transition
  // picture does only this: the transition or video under it goes on.
  void MenuMouseDown(int button);
  // A press on the window itself, around the picture.
  void mousePressed(const QMouseEvent& event);
  // How many keys of the debug access sequence have been typed in turn (0..3).
  int debugSequenceState() const { return debugState_; }

 private:
  // Esc or a right click asked for the menu bar.
  void playerShowsMenus();

  Game& game_;
  int debugState_ = 0;
};

}  // namespace qm::engine
