// The menu bar, the keys and the mouse on the window background.
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>

#include "engine/Game.h"
#include "engine/KeyboardPlay.h"
#include "engine/StartHint.h"
#include "logic/SavedGames.h"
#include "platform/DialogService.h"
#include "script/DialogueRunner.h"
#include "startup/Project.h"

namespace qm::engine {

using startup::GameStopped;
using startup::project;

namespace {
// The debug menu appears after these four keys, pressed in this order.
constexpr int kDebugSequence[4] = {120, 121, 122, 123};  // F9 F10 F11 F12

constexpr int kKeyEscape = 27;
constexpr int kKeyL = 76, kKeyS = 83, kKeyQ = 81;
constexpr int kShiftCtrl = 2;

int vbKeyCode(const QKeyEvent* e) {
  const int k = e->key();
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

void Game::updateMenuBar() {
  bool any = false;
  for (MenuItem* top : {mnuExit, mnuOptions, mnuLoadGame, mnuSaveGame, mnuDebug}) any = any || top->visible();
  menuBar_->setVisible(any);
  layoutPicture();
}

void Game::ShowMenus() {
  const auto& info = project().info;
  if (info.noMenuBar) return;
  mnuExit->setVisible(true);
  mnuSaveGame->setVisible(!info.noSaving);
  mnuLoadGame->setVisible(!info.noLoading);
  const bool a = info.noDisableTransitionsItem;
  const bool b = info.noDisableEffectsItem;
  if (a && b) {
    mnuOptions->setVisible(false);
  } else {
    mnuDisableTransitions->setVisible(!a);
    mnuDisableEffects->setVisible(!b);
    mnuOptions->setVisible(true);
  }
  mnuDebug->setVisible(false);
  MenuOpened_ = false;
  updateMenuBar();
}

void Game::HideMenus() {
  if (!windowedPlay() && !GameStopped()) {
    for (MenuItem* top : {mnuExit, mnuSaveGame, mnuLoadGame, mnuOptions, mnuDebug})
      if (top->visible()) top->setVisible(false);
  }
  MenuOpened_ = false;
  updateMenuBar();
}

void Game::playerShowsMenus() {
  ShowMenus();
  // Found it: the start hint has done its job.
  if (mnuExit->visible()) startHint_->menuFound();
}

void Game::askToQuit() {
  const auto answer = platform::messageBox(startup::InterfaceText(10), platform::MsgButtons::YesNo,
                                           platform::MsgIcon::Question, project().info.gameTitle);
  if (answer == platform::MsgResult::Yes) StartUnloading();
}

void Game::openDebugFrame(const QString& name) { OpenFrame(name, false, 0, 0); }

void Game::keyPressEvent(QKeyEvent* event) { handleKeyPress(event); }

void Game::keyReleaseEvent(QKeyEvent* event) { handleKeyRelease(event); }

void Game::handleKeyRelease(QKeyEvent* event) { keyboardPlay().keyReleased(*event); }

bool Game::windowedPlay() const { return keyboardPlay_->windowedPlay(); }

void Game::handleKeyPress(QKeyEvent* event) {
  int shift = 0;
  if (event->modifiers() & Qt::ShiftModifier) shift |= 1;
  if (event->modifiers() & Qt::ControlModifier) shift |= 2;
  if (event->modifiers() & Qt::AltModifier) shift |= 4;
  // Tab, Enter, Space and Alt+Enter of keyboard play; like any other key, they break the debug sequence.
  if (keyboardPlay().keyPressed(*event)) {
    debugState_ = 0;
    return;
  }
  // While questions are listed, digits, arrows and Enter choose among them.
  if (shift == 0 && isEnabled() && dialogue().handleKey(event->key()))
    return;
  handleKey(vbKeyCode(event), shift);
}

void Game::handleKey(int key, int shift) {
  const auto& info = project().info;
  if (key == kKeyEscape) {
    if (!video().OneTimeVideoPlaying() && !state_.TransitionRunning) {
      if (mnuExit->visible()) HideMenus();
      else playerShowsMenus();
    }
    state_.StopMovie = true;
    state_.TransitionSkip = true;
  }
  if (!isEnabled()) return;
  if (shift == kShiftCtrl) {
    if (key == kKeyL && !info.noLoading) savedGames().ShowLoadGameWindow(false);
    else if (key == kKeyS && !info.noSaving) savedGames().ShowSaveGameWindow();
    else if (key == kKeyQ) askToQuit();
  }
  if (key == kDebugSequence[debugState_]) {
    if (debugState_ == 3) {
      debugState_ = 0;
      mnuDebug->setVisible(true);
      updateMenuBar();
    } else {
      ++debugState_;
    }
  } else {
    debugState_ = 0;
  }
}

void Game::mousePressEvent(QMouseEvent* event) {
  const int b = event->button() == Qt::RightButton ? kRightButton
                : event->button() == Qt::MiddleButton ? kMiddleButton
                                                     : kLeftButton;
  BackgroundMouseDown(b);
}

void Game::BackgroundMouseDown(int button) {
  state_.StopMovie = true;
  state_.TransitionSkip = true;
  if (video().OneTimeVideoPlaying()) return;
  if (button == kRightButton) {
    if (!mnuExit->visible()) playerShowsMenus();
    else if (!MenuOpened_) HideMenus();
  } else {
    HideMenus();
  }
}

}  // namespace qm::engine
