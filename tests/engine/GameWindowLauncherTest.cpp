// Starting a game from the welcome window, and what ending it leads back to.
#include <gtest/gtest.h>

#include "GameFixture.h"
#include "engine/GameWindowLauncher.h"
#include "startup/frmWelcome.h"

namespace qm::testing {
namespace {

class GameWindowLauncherTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    engine::installGameWindowLauncher();
  }
  void TearDown() override {
    engine::releaseGameWindow();
    GameFixture::TearDown();
  }
  GameFolderBuilder folder_;
};

TEST_F(GameWindowLauncherTest, StartOpensTheInitialFrameAndQuittingReturnsToTheWelcomeWindow) {
  GeneralFields g;
  g.initialFrame = "Hall";
  folder_.general(g);
  frame(folder_, "Hall", FrameSpec{});
  startup::frmWelcome welcome;
  ASSERT_TRUE(welcome.Load(folder_.root()));
  welcome.show();
  welcome.ClickButton(startup::kButtonStart);
  engine::Game* game = engine::launchedGameWindow();
  ASSERT_NE(game, nullptr);
  EXPECT_TRUE(game->isVisible());
  EXPECT_FALSE(welcome.isVisible());
  EXPECT_EQ(startup::CurrentFrameName(), "Hall");

  game->StartUnloading();
  runEvents(700);
  EXPECT_FALSE(game->isVisible());
  EXPECT_TRUE(welcome.isVisible());

  // A second game reuses the window and starts afresh.
  welcome.ClickButton(startup::kButtonStart);
  EXPECT_EQ(engine::launchedGameWindow(), game);
  EXPECT_TRUE(game->isVisible());
  EXPECT_FALSE(startup::GameStopped());
}

TEST_F(GameWindowLauncherTest, GameStartedAtOnceEndsTheProgramWhenItEnds) {
  GeneralFields g;
  g.initialFrame = "Hall";
  g.startAtOnce = true;
  folder_.general(g);
  frame(folder_, "Hall", FrameSpec{});
  startup::frmWelcome welcome;
  bool ended = false;
  QObject::connect(&welcome, &startup::frmWelcome::unloaded, [&] { ended = true; });
  ASSERT_TRUE(welcome.Load(folder_.root()));
  engine::Game* game = engine::launchedGameWindow();
  ASSERT_NE(game, nullptr);
  EXPECT_TRUE(game->isVisible());
  game->StartUnloading();
  runEvents(700);
  EXPECT_TRUE(ended);
}

}  // namespace
}  // namespace qm::testing
