// The welcome window's way into the game window and the load-game window.
//
// The welcome window owns the order of the steps of a new game; the game window
// owns what each step does. The game window installs its launcher at start-up
// with setGameLauncher(); without one, Start and Load tell the user that this
// build has no game window.
#pragma once

namespace qm::startup {

class GameLauncher {
 public:
  virtual ~GameLauncher() = default;

  // Creates the game window (once) without showing it.
  virtual void LoadGameWindow() = 0;
  // Rebuilds the run-time state for a new or resumed game.
  virtual void ResetAll() = 0;
  // Opens the initial frame of a new game.
  virtual void StartNewGame() = 0;
  // Shows the game window (not modal).
  virtual void ShowGameWindow() = 0;
  // Lets the load-game window fill its list of saved games, then shows it modally.
  virtual void ShowLoadGameWindow() = 0;
};

// The installed launcher, or nullptr when this build has none.
GameLauncher* gameLauncher();
// Installs a launcher (nullptr removes it). The caller keeps ownership.
void setGameLauncher(GameLauncher* launcher);

}  // namespace qm::startup
