#include "engine/GameInput.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "engine/Game.h"
#include "engine/GameDisplay.h"
#include "engine/KeyboardPlay.h"
#include "engine/StartHint.h"
#include "logic/SavedGames.h"
#include "script/DialogueRunner.h"
#include "startup/Project.h"

namespace qm::engine {

using startup::project;

namespace {
// The debug menu appears after these four keys, pressed in this order.
constexpr int kDebugSequence[4] = {120, 121, 122, 123};  // F9 F10 F11 F12

constexpr int kKeyEscape = 27;
constexpr int kKeyL = 76, kKeyS = 83, kKeyQ = 81;
constexpr int kShiftCtrl = 2;

int vbKeyCode(const QKeyEvent& e) {
  const int k = e.key();
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
  switch (k) {
    case Qt::Key_Escape: return 27;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Space: return 32;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Home: return 36;
    case Qt::Key_End: return 35;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    default: return k & 0xFF;
  }
}
}  // namespace

void GameInput::keyReleased(const QKeyEvent& event) { game_.keyboardPlay().keyReleased(event); }

void GameInput::keyPressed(const QKeyEvent& event) {
  int shift = 0;
  if (event.modifiers() & Qt::ShiftModifier) shift |= 1;
  if (event.modifiers() & Qt::ControlModifier) shift |= 2;
  if (event.modifiers() & Qt::AltModifier) shift |= 4;
  // Tab, Enter, Space and Alt+Enter of keyboard play; like any other key, they break the debug sequence.
  if (game_.keyboardPlay().keyPressed(event)) {
    debugState_ = 0;
    return;
  }
  // While questions are listed, digits, arrows and Enter choose among them.
  if (shift == 0 && game_.isEnabled() && game_.dialogue().handleKey(event.key())) return;
  KeyDown(vbKeyCode(event), shift);
}

void GameInput::KeyDown(int key, int shift) {
  const auto& info = project().info;
  PlayState& state = game_.state();
  if (key == kKeyEscape) {
    if (!game_.video().OneTimeVideoPlaying() && !state.TransitionRunning) {
      if (game_.mnuExit->visible()) game_.HideMenus();
      else playerShowsMenus();
    }
    state.StopMovie = true;
    state.TransitionSkip = true;
  }
  if (!game_.isEnabled()) return;
  if (shift == kShiftCtrl) {
    if (key == kKeyL && !info.noLoading) game_.savedGames().ShowLoadGameWindow(false);
    else if (key == kKeyS && !info.noSaving) game_.savedGames().ShowSaveGameWindow();
    // Ctrl+Q is the Exit item: the question first.
    else if (key == kKeyQ && game_.mnuExit->onClick) game_.mnuExit->onClick();
  }
  if (key == kDebugSequence[debugState_]) {
    if (debugState_ == 3) {
      debugState_ = 0;
      game_.mnuDebug->setVisible(true);
      game_.display().menusChanged();
    } else {
      ++debugState_;
    }
  } else {
    debugState_ = 0;
  }
}

void GameInput::mousePressed(const QMouseEvent& event) {
  const int b = event.button() == Qt::RightButton ? kRightButton
                : event.button() == Qt::MiddleButton ? kMiddleButton
                                                    : kLeftButton;
  BackgroundMouseDown(b);
}

void GameInput::BackgroundMouseDown(int button) {
  PlayState& state = game_.state();
  state.StopMovie = true;
  state.TransitionSkip = true;
  if (game_.video().OneTimeVideoPlaying()) return;
  MenuMouseDown(button);
}

void GameInput::MenuMouseDown(int button) {
  PlayState& state = game_.state();
  if (button == kRightButton) {
    if (!game_.mnuExit->visible()) playerShowsMenus();
    else if (!state.MenuOpened) game_.HideMenus();
  } else {
    game_.HideMenus();
  }
}

void GameInput::playerShowsMenus() {
  game_.ShowMenus();
  // Found it: the start hint has done its job.
  if (game_.mnuExit->visible()) game_.display().startHint()->menuFound();
}

}  // namespace qm::engine
