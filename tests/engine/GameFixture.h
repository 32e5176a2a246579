// A game window on a small game folder, with message boxes recorded.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <memory>

#include "engine/Game.h"
#include "startup/InitializeProject.h"
#include "startup/Project.h"
#include "support/FrameRecords.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"
#include "support/VariablesRecords.h"

namespace qm::testing {

class GameFixture : public ProjectTest {
 protected:
  void TearDown() override {
    game_.reset();
    ProjectTest::TearDown();
  }
  // Starts the project in the builder's folder and creates its game window.
  engine::Game& startGame(GameFolderBuilder& folder) {
    withVariablesFile(folder);
    startup::InitializeProject(folder.root());
    game_ = std::make_unique<engine::Game>();
    game_->ResetAll();
    return *game_;
  }
  engine::Game& game() { return *game_; }
  // A new game of the project in the builder's folder whose only frame, Hall, is plain.
  engine::Game& startPlainHall(GameFolderBuilder& folder, GeneralFields g = {}) {
    g.initialFrame = "Hall";
    folder.general(g);
    frame(folder, "Hall", FrameSpec{});
    auto& game = startGame(folder);
    game.StartNewGame();
    return game;
  }
  // Every game has a variables file, if only an empty one.
  static void withVariablesFile(GameFolderBuilder& folder) {
    if (!QFileInfo::exists(folder.path("Config/Variables"))) folder.file("Config/Variables", variablesFileBytes({}));
  }
  void frame(GameFolderBuilder& folder, const QString& name, const FrameSpec& spec) {
    folder.file("Frames/" + name + ".fme", frameFileBytes(spec));
  }
  std::size_t messagesContaining(const QString& text) {
    std::size_t n = 0;
    for (const auto& s : dialogs().shown())
      if (s.text.contains(text)) ++n;
    return n;
  }
  static void runEvents(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }

 private:
  std::unique_ptr<engine::Game> game_;
};

}  // namespace qm::testing
