#include "startup/Activity.h"

#include <QCoreApplication>

#include "startup/Project.h"

namespace qm::startup {
namespace {
StopAllActivityHooks gStopAll;
StopGameHooks gStopGame;
}  // namespace

void setStopAllActivityHooks(StopAllActivityHooks hooks) { gStopAll = std::move(hooks); }

void setStopAllActivityHook(std::function<void()> stopEverything) {
  gStopAll.stopEverything = std::move(stopEverything);
}

void setStopGameHooks(StopGameHooks hooks) { gStopGame = std::move(hooks); }

void StopAllActivity() {
  if (gStopAll.signalStop) gStopAll.signalStop();
  // Loops that wait (movies, transitions) see the request and end.
  if (QCoreApplication::instance()) QCoreApplication::processEvents();
  if (gStopAll.stopEverything) gStopAll.stopEverything();
  // No file stays open across procedures here, so there is nothing to close.
}

void StopGame() {
  SetGameStopped(true);
  if (gStopGame.hideGamePicture) gStopGame.hideGamePicture();
  StopAllActivity();
  if (gStopGame.showMenus) gStopGame.showMenus();
}

}  // namespace qm::startup
