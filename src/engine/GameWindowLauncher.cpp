#include "engine/GameWindowLauncher.h"

#include <QCoreApplication>
#include <memory>

#include "engine/Game.h"
#include "logic/SavedGames.h"
#include "startup/GameLauncher.h"
#include "startup/Project.h"
#include "startup/frmWelcome.h"

namespace qm::engine {

namespace {

class GameWindowLauncher : public startup::GameLauncher {
 public:
  void LoadGameWindow() override {
    if (game_) return;
    game_ = std::make_unique<Game>();
    // When the game ends: back to the welcome window, or, for a game that
    // started at once, the end of the program.
    QObject::connect(game_.get(), &Game::unloaded, [] {
      startup::frmWelcome* welcome = startup::frmWelcome::instance();
      if (startup::project().info.startAtOnce) {
        if (welcome) welcome->Unload();
        else QCoreApplication::quit();
        return;
      }
      QCoreApplication::processEvents();
      if (welcome) welcome->show();
    });
  }
  void ResetAll() override { game_->ResetAll(); }
  void StartNewGame() override { game_->StartNewGame(); }
  void ShowGameWindow() override {
    game_->show();
    game_->raise();
    game_->activateWindow();
  }
  void ShowLoadGameWindow() override {
    LoadGameWindow();
    game_->savedGames().ShowLoadGameWindowFromWelcome();
  }
  Game* game() const { return game_.get(); }
  void release() { game_.reset(); }

 private:
  std::unique_ptr<Game> game_;
};

GameWindowLauncher& launcher() {
  static GameWindowLauncher l;
  return l;
}

}  // namespace

void installGameWindowLauncher() { startup::setGameLauncher(&launcher()); }

Game* launchedGameWindow() { return launcher().game(); }

void releaseGameWindow() { launcher().release(); }

}  // namespace qm::engine
