// Stopping what runs: the game window installs the parts that touch its
// movies, transitions, timers, timed events and sound players.
#pragma once

#include <functional>

namespace qm::startup {

struct StopAllActivityHooks {
  // Before window events run: ask running movies and transitions to end.
  std::function<void()> signalStop;
  // After: timers, timed events, the one-time video, every sound player.
  std::function<void()> stopEverything;
};
void setStopAllActivityHooks(StopAllActivityHooks hooks);
// Shorthand: installs only stopEverything.
void setStopAllActivityHook(std::function<void()> stopEverything);

struct StopGameHooks {
  std::function<void()> hideGamePicture;
  std::function<void()> showMenus;
};
void setStopGameHooks(StopGameHooks hooks);

// Stops movies, transitions, timers, timed events and sounds.
void StopAllActivity();

// Sets GameStopped, hides the game picture, stops all activity and shows the menus.
void StopGame();

}  // namespace qm::startup
