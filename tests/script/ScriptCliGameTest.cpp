// Writes the scripted game that the whole-program walkthrough test plays
// (tests/cli/script_walkthrough.cmake), when QM_SCRIPT_CLI_GAME names the
// folder to write; otherwise only checks that the game can be built.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include "ScriptGameFixture.h"

namespace qm::testing {
namespace {

void buildScriptedGame(GameFolderBuilder& folder) {
  GeneralFields g;
  g.projectName = "ScriptDemo";
  g.initialFrame = "Hall";
  g.width = 400;
  g.height = 300;
  g.windowedMode = true;
  g.runStartupProcedure = true;
  g.startupProcedureName = "NewGame";
  folder.general(g);
  folder.file("Config/Variables", variablesFileBytes({"coins", "visits", "ticks"}));
  folder.file("Config/Procedures",
              "h1\r\nh2\r\nh3\r\n"
              "Sub NewGame()\r\n  coins = 3\r\nEnd Sub\r\n"
              "Sub Spend(n)\r\n  coins = coins - n\r\n  If coins <= 0 Then GoToFrame \"Garden\", 0, 0\r\nEnd Sub\r\n"
              "Sub TimerObject1()\r\n  ticks = ticks + 1\r\n  TimerObject(1).Enabled = False\r\nEnd Sub\r\n");
  HotspotSpec shop;
  ActionSpec spend;
  spend.runScript = true;
  spend.script = "Spend 2";
  folder.file("Frames/Hall.fme", frameFileBytes({}));
  folder.file("FramesData/Hall.fm2", hotspotFileBytes({shop}));
  folder.file("FramesData/Hall.fm3", actionFileBytes({spend}));
  FrameSpec garden;
  garden.runFrameProcedure = true;
  garden.frameProcedure = "visits = visits + 1";
  folder.file("Frames/Garden.fme", frameFileBytes(garden));
}

bool copyFolder(const QString& from, const QString& to) {
  QDir().mkpath(to);
  QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString file = it.next();
    const QString target = to + "/" + QDir(from).relativeFilePath(file);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    if (!QFile::copy(file, target)) return false;
  }
  return true;
}

TEST(ScriptCliGame, WritesTheScriptedGameForTheWalkthroughProgram) {
  GameFolderBuilder folder;
  buildScriptedGame(folder);
  EXPECT_TRUE(QFile::exists(folder.path("Config/General")));
  const QByteArray target = qgetenv("QM_SCRIPT_CLI_GAME");
  if (!target.isEmpty()) {
    QDir(QString::fromLocal8Bit(target)).removeRecursively();
    EXPECT_TRUE(copyFolder(folder.root(), QString::fromLocal8Bit(target)));
  }
}

}  // namespace
}  // namespace qm::testing
