// A game window with the logic layer, on a small game folder built per test,
// with message boxes recorded.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <memory>

#include "engine/Game.h"
#include "logic/GameLogic.h"
#include "startup/InitializeProject.h"
#include "startup/Project.h"
#include "support/ActionRecords.h"
#include "support/FrameRecords.h"
#include "support/GameFolderBuilder.h"
#include "support/HotspotRecords.h"
#include "support/ProjectTest.h"
#include "support/VariablesRecords.h"

namespace qm::testing {

class LogicGameFixture : public ProjectTest {
 protected:
  void TearDown() override {
    game_.reset();
    ProjectTest::TearDown();
  }

  // A folder whose initial frame is "Hall" (400 x 300), with the given variables.
  static void basicGame(GameFolderBuilder& folder, const QStringList& integers = {},
                        const std::optional<QStringList>& variants = std::nullopt) {
    GeneralFields g;
    g.initialFrame = "Hall";
    g.width = 400;
    g.height = 300;
    g.windowedMode = true;
    folder.general(g);
    folder.file("Config/Variables", variablesFileBytes(integers, variants));
  }
  static void frame(GameFolderBuilder& folder, const QString& name, const std::vector<HotspotSpec>& hotspots = {},
                    const std::vector<ActionSpec>& actions = {}) {
    FrameSpec spec;
    folder.file("Frames/" + name + ".fme", frameFileBytes(spec));
    if (!hotspots.empty()) folder.file("FramesData/" + name + ".fm2", hotspotFileBytes(hotspots));
    if (!actions.empty()) folder.file("FramesData/" + name + ".fm3", actionFileBytes(actions));
  }

  engine::Game& startGame(GameFolderBuilder& folder) {
    startup::InitializeProject(folder.root());
    game_ = std::make_unique<engine::Game>();
    game_->ResetAll();
    game_->StartNewGame();
    return *game_;
  }
  engine::Game& game() { return *game_; }
  logic::GameLogic& logic() { return game_->logic(); }

  bool shown(int n) { return game_->Area.exists(n) && game_->Area[n].visible(); }
  QString frameName() { return startup::CurrentFrameName(); }

  std::size_t messagesContaining(const QString& text) {
    std::size_t n = 0;
    for (const auto& s : dialogs().shown())
      if (s.text.contains(text)) ++n;
    return n;
  }
  QString allMessages() {
    QString all;
    for (const auto& s : dialogs().shown()) all += s.text + "\n";
    return all;
  }

 private:
  std::unique_ptr<engine::Game> game_;
};

}  // namespace qm::testing
