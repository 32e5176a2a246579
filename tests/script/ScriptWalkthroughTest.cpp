// Scripted games walked with the walkthrough runner, whose "run" step runs
// code as the debug menu's command does.
#include <gtest/gtest.h>

#include "ScriptGameFixture.h"
#include "support/WalkGame.h"

namespace qm::testing {
namespace {

class ScriptWalkthroughTest : public ScriptGameFixture {
 protected:
  QString walk(GameFolderBuilder& folder, const QString& steps, int* failed) {
    return walkGame(dialogs(), folder.root(), steps, failed);
  }
};

TEST_F(ScriptWalkthroughTest, ScriptsDriveTheGameAndRunStepsCheckIt) {
  GameFolderBuilder folder;
  GeneralFields g = basicFields();
  g.runStartupProcedure = true;
  g.startupProcedureName = "NewGame";
  basicGame(folder, {"coins", "visits", "ticks"}, std::nullopt, g);
  procedures(folder,
             "Sub NewGame()\r\n  coins = 3\r\nEnd Sub\r\n"
             "Sub Spend(n)\r\n  coins = coins - n\r\n  If coins <= 0 Then GoToFrame \"Garden\", 0, 0\r\nEnd Sub\r\n"
             "Sub TimerObject1()\r\n  ticks = ticks + 1\r\n  TimerObject(1).Enabled = False\r\nEnd Sub");
  HotspotSpec shop;
  frame(folder, "Hall", {shop}, {scriptAction("Spend 2")});
  FrameSpec garden;
  garden.runFrameProcedure = true;
  garden.frameProcedure = "visits = visits + 1";
  frame(folder, "Garden", {}, {}, garden);
  int failed = 0;
  const QString out = walk(folder,
                           "start\n"
                           "expect frame Hall\n"
                           "expect var coins 3\n"
                           "click 1\n"
                           "expect var coins 1\n"
                           "expect frame Hall\n"
                           "click 1\n"
                           "expect frame Garden\n"
                           "expect var visits 1\n"
                           "run \"coins = coins + 10\"\n"
                           "expect var coins 9\n"
                           "run \"LoadControl TimerObject(1)\\nTimerObject(1).Interval = 20\\nTimerObject(1).Enabled = True\"\n"
                           "wait 0.3\n"
                           "expect var ticks 1\n"
                           "run \"x = 1 / 0\"\n"
                           "expect message \"Division by zero\"\n"
                           "run \"GoToFrame \\\"last visited frame\\\", 0, 0\"\n"
                           "expect frame Hall\n",
                           &failed);
  EXPECT_EQ(failed, 0) << out.toStdString();
}

TEST_F(ScriptWalkthroughTest, RunStepNeedsAStartedGame) {
  GameFolderBuilder folder;
  basicGame(folder);
  frame(folder, "Hall");
  int failed = 0;
  const QString out = walk(folder, "run \"x = 1\"\n", &failed);
  EXPECT_EQ(failed, 1);
  EXPECT_TRUE(out.contains("the game has not started")) << out.toStdString();
}

}  // namespace
}  // namespace qm::testing
