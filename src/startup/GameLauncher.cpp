#include "startup/GameLauncher.h"

namespace qm::startup {

namespace {
GameLauncher* g_launcher = nullptr;
}  // namespace

GameLauncher* gameLauncher() { return g_launcher; }

void setGameLauncher(GameLauncher* launcher) { g_launcher = launcher; }

}  // namespace qm::startup
