#include "support/WalkGame.h"

#include <QTextStream>
#include <memory>

#include "engine/Game.h"
#include "engine/Walkthrough.h"
#include "logic/GameLogic.h"
#include "startup/InitializeProject.h"

namespace qm::testing {

QString walkGame(platform::RecordingDialogService& dialogs, const QString& folderRoot, const QString& steps,
                 int* failed) {
  startup::InitializeProject(folderRoot);
  QString output;
  QTextStream out(&output);
  std::unique_ptr<engine::Game> game;
  engine::WalkthroughRunner runner(dialogs, out, [&game] { return game.get(); });
  runner.setStartAction([&game]() -> QString {
    game = std::make_unique<engine::Game>();
    game->ResetAll();
    game->StartNewGame();
    game->show();
    return QString();
  });
  *failed = runner.run(steps);
  out.flush();
  game.reset();
  return output;
}

}  // namespace qm::testing
