// What the game benchmarks share: an offscreen application whose per-user
// settings live in a temporary file and whose message boxes are recorded, and
// a game window started on a game folder whose first frame is "Hall".
#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <memory>

#include "engine/Game.h"
#include "logic/GameLogic.h"
#include "platform/RecordingDialogService.h"
#include "platform/SettingsStore.h"
#include "startup/InitializeProject.h"
#include "support/GameFolderBuilder.h"

namespace qm::bench {

struct OffscreenPlatform {
  OffscreenPlatform() { qputenv("QT_QPA_PLATFORM", "offscreen"); }
};

class BenchEnvironment : OffscreenPlatform {
 public:
  BenchEnvironment(int& argc, char** argv) : app(argc, argv) {
    platform::SettingsStore::instance().setFileForTests(settings_.path() + "/settings.ini");
  }
  QApplication app;
  platform::ScopedRecordingDialogs dialogs;

 private:
  QTemporaryDir settings_;
};

// A windowed game starting at "Hall".
inline testing::GeneralFields hallGame() {
  testing::GeneralFields g;
  g.initialFrame = "Hall";
  g.windowedMode = true;
  return g;
}

// The game in the folder, reset and started as Start on the welcome window does.
inline std::unique_ptr<engine::Game> startGame(const QString& root) {
  startup::InitializeProject(root);
  auto game = std::make_unique<engine::Game>();
  game->ResetAll();
  game->StartNewGame();
  return game;
}

}  // namespace qm::bench
