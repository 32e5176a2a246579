// Feeds arbitrary bytes as a frame's text-box file to the game window's
// loader: it must load what it can, never crash or loop.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/Game.h"
#include "platform/RecordingDialogService.h"
#include "startup/Project.h"

namespace {
struct World {
  World() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QApplication>(argc, argv);
    qm::platform::setDialogs(&dialogs);
    QDir(dir.path()).mkpath("FramesData");
    qm::startup::setProjectFolder(dir.path());
    qm::startup::project().info.width = 320;
    qm::startup::project().info.height = 240;
    qm::startup::project().frame.name = "F";
    game = std::make_unique<qm::engine::Game>();
  }
  std::unique_ptr<QApplication> app;
  qm::platform::RecordingDialogService dialogs;
  QTemporaryDir dir;
  std::unique_ptr<qm::engine::Game> game;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static World world;
  {
    QFile f(world.dir.path() + "/FramesData/F.fm1");
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  world.game->ResetFrameTexts();
  world.game->LoadTexts();
  world.game->ResetFrameTexts();
  return 0;
}
