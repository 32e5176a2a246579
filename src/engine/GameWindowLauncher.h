// How the welcome window starts a game: the game window is created once and
// reused for every game of the run.
#pragma once

namespace qm::engine {

class Game;

// Installs the game window as the welcome window's way into the game. Call it
// once at start-up, before the welcome window loads.
void installGameWindowLauncher();

// The game window the launcher made (nullptr before the first Start).
Game* launchedGameWindow();

// Destroys the game window; call it before the application object goes.
void releaseGameWindow();

}  // namespace qm::engine
