// The game window: menu bar, keys, mouse on the background, frames menu,
// quitting and the placement of the picture.
#include <gtest/gtest.h>

#include <QMenuBar>

#include "GameFixture.h"
#include "startup/Settings.h"

namespace qm::testing {
namespace {

class GameWindowTest : public GameFixture {
 protected:
  engine::Game& open(GeneralFields g = {}, GameFolderBuilder* extra = nullptr) {
    g.initialFrame = "Hall";
    GameFolderBuilder& folder = extra ? *extra : folder_;
    folder.general(g);
    frame(folder, "Hall", FrameSpec{});
    auto& game = startGame(folder);
    game.StartNewGame();
    return game;
  }
  static bool menusShown(engine::Game& g) { return g.mnuExit->visible(); }
  GameFolderBuilder folder_;
};

TEST_F(GameWindowTest, FullScreenStartsWithTheMenusHidden) {
  auto& g = open();
  EXPECT_FALSE(menusShown(g));
  EXPECT_TRUE(g.menuBar()->isHidden());
}

TEST_F(GameWindowTest, EscapeTogglesTheMenusAndAsksMoviesToStop) {
  auto& g = open();
  g.StopMovie = false;
  g.handleKey(27, 0);
  EXPECT_TRUE(menusShown(g));
  EXPECT_TRUE(g.StopMovie);
  EXPECT_TRUE(g.TransitionSkip);
  EXPECT_FALSE(g.menuBar()->isHidden());
  g.handleKey(27, 0);
  EXPECT_FALSE(menusShown(g));
}

TEST_F(GameWindowTest, WithoutAMenuBarNothingShowsTheMenus) {
  GeneralFields f;
  f.noMenuBar = true;
  auto& g = open(f);
  g.handleKey(27, 0);
  g.BackgroundMouseDown(engine::kRightButton);
  EXPECT_FALSE(menusShown(g));
}

TEST_F(GameWindowTest, WindowedModeKeepsTheMenusAndThePictureOneToOne) {
  GeneralFields f;
  f.windowedMode = true;
  f.width = 320;
  f.height = 200;
  auto& g = open(f);
  EXPECT_TRUE(menusShown(g));
  g.handleKey(27, 0);
  g.BackgroundMouseDown(engine::kRightButton);
  g.BackgroundMouseDown(engine::kLeftButton);
  EXPECT_TRUE(menusShown(g));
  EXPECT_EQ(g.displayScale(), 1.0);
  EXPECT_EQ(g.windowTitle(), "Test Game ");
}

TEST_F(GameWindowTest, OptionsItemsFollowTheProjectSwitches) {
  GeneralFields both;
  both.noDisableTransitionsItem = both.noDisableEffectsItem = true;
  auto& g = open(both);
  g.ShowMenus();
  EXPECT_FALSE(g.mnuOptions->visible());
  EXPECT_TRUE(g.mnuExit->visible());

  startup::project().info.noDisableEffectsItem = false;
  g.ShowMenus();
  EXPECT_TRUE(g.mnuOptions->visible());
  EXPECT_FALSE(g.mnuDisableTransitions->visible());
  EXPECT_TRUE(g.mnuDisableEffects->visible());
}

TEST_F(GameWindowTest, NoSavingAndNoLoadingHideTheirItems) {
  GeneralFields f;
  f.noSaving = true;
  auto& g = open(f);
  g.ShowMenus();
  EXPECT_FALSE(g.mnuSaveGame->visible());
  EXPECT_TRUE(g.mnuLoadGame->visible());
}

TEST_F(GameWindowTest, RightClickShowsThenHidesUnlessAMenuIsOpen) {
  auto& g = open();
  g.BackgroundMouseDown(engine::kRightButton);
  EXPECT_TRUE(menusShown(g));
  g.mnuOptions->onOpen();  // the Options menu was opened
  g.BackgroundMouseDown(engine::kRightButton);
  EXPECT_TRUE(menusShown(g));
  g.BackgroundMouseDown(engine::kLeftButton);
  EXPECT_FALSE(menusShown(g));
}

TEST_F(GameWindowTest, DebugSequenceRevealsTheDebugMenu) {
  auto& g = open();
  for (int k : {120, 121, 122}) g.handleKey(k, 0);
  EXPECT_EQ(g.debugSequenceState(), 3);
  EXPECT_FALSE(g.mnuDebug->visible());
  g.handleKey(123, 0);
  EXPECT_TRUE(g.mnuDebug->visible());
  EXPECT_EQ(g.debugSequenceState(), 0);
  g.ShowMenus();  // showing the menus hides it again
  EXPECT_FALSE(g.mnuDebug->visible());
}

TEST_F(GameWindowTest, DebugSequenceWithAnotherKeyBetweenFails) {
  auto& g = open();
  for (int k : {120, 121, 65, 122, 123}) g.handleKey(k, 0);
  EXPECT_FALSE(g.mnuDebug->visible());
  for (int k : {120, 122, 121, 122, 123}) g.handleKey(k, 0);
  EXPECT_FALSE(g.mnuDebug->visible());
}

TEST_F(GameWindowTest, GoToFrameMenuListsTheFrameFiles) {
  GameFolderBuilder folder;
  folder.file("Frames/a.fme", frameFileBytes(FrameSpec{})).file("Frames/.fme", "0").file("Frames/Big.FME", "0");
  auto& g = open({}, &folder);
  QStringList captions;
  for (int i : g.mnuFrameName.indices())
    if (i > 0) captions << g.mnuFrameName[i].caption();
  captions.sort();
  EXPECT_EQ(captions, QStringList({"Hall", "a"}));
  // Choosing an item opens that frame.
  for (int i : g.mnuFrameName.indices())
    if (i > 0 && g.mnuFrameName[i].caption() == "a") g.mnuFrameName[i].click();
  EXPECT_EQ(startup::CurrentFrameName(), "a");
}

TEST_F(GameWindowTest, ResetReadsTheCheckMarksFromTheSettings) {
  GameFolderBuilder folder;
  GeneralFields g;
  g.initialFrame = "Hall";
  folder.general(g);
  frame(folder, "Hall", FrameSpec{});
  startup::InitializeProject(folder.root());
  startup::SaveSetting("DisableTransitions", "True");
  startup::SaveSetting("DisableEffects", "False");
  auto game = std::make_unique<engine::Game>();
  game->ResetAll();
  EXPECT_TRUE(game->mnuDisableTransitions->checked());
  EXPECT_FALSE(game->mnuDisableEffects->checked());
}

TEST_F(GameWindowTest, MenuCaptionsComeFromTheInterfaceTexts) {
  folder_.texts(2, {"S", "Charger...", "", "", "", "", "", "Sauver...", "", "", "", "Quitter"});
  auto& g = open();
  EXPECT_EQ(g.mnuLoadGame->caption(), "Charger...");
  EXPECT_EQ(g.mnuSaveGame->caption(), "Sauver...");
  EXPECT_EQ(g.mnuExit->caption(), "Quitter");
}

TEST_F(GameWindowTest, CtrlQAsksAndNoKeepsPlaying) {
  auto& g = open();
  dialogs().queueAnswer(platform::MsgResult::No);
  g.handleKey('Q', 2);
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text, "Do you really want to quit?");
  EXPECT_EQ(lastBox().buttons, platform::MsgButtons::YesNo);
  EXPECT_EQ(lastBox().icon, platform::MsgIcon::Question);
  EXPECT_FALSE(startup::GameStopped());
}

TEST_F(GameWindowTest, QuittingDisablesTheWindowThenUnloads) {
  auto& g = open();
  bool unloaded = false;
  g.onUnloaded = [&] { unloaded = true; };
  g.show();
  dialogs().queueAnswer(platform::MsgResult::Yes);
  g.mnuExit->click();
  EXPECT_TRUE(startup::GameStopped());
  EXPECT_FALSE(g.isEnabled());
  EXPECT_FALSE(unloaded);
  runEvents(650);
  EXPECT_TRUE(unloaded);
  EXPECT_TRUE(g.isEnabled());
  EXPECT_FALSE(g.isVisible());
}

TEST_F(GameWindowTest, FullScreenScalesThePictureUpKeepingItsShape) {
  GeneralFields f;
  f.width = 200;
  f.height = 100;
  auto& g = open(f);
  g.show();
  runEvents(50);
  const QSize screen = g.size();
  ASSERT_GT(screen.width(), 200);
  const double expected = std::min(screen.width() / 200.0, screen.height() / 100.0);
  EXPECT_DOUBLE_EQ(g.displayScale(), expected);
  // The picture is centred: its middle lands in the middle of the window.
  const QPointF middle = g.pictureToWindow(QPointF(100, 50));
  EXPECT_NEAR(middle.x(), screen.width() / 2.0, 2);
  EXPECT_NEAR(middle.y(), screen.height() / 2.0, 2);
}

TEST_F(GameWindowTest, PictureLargerThanTheScreenStaysOneToOneAtTheTopLeft) {
  GeneralFields f;
  f.width = 3000;
  f.height = 2000;
  auto& g = open(f);
  g.show();
  runEvents(50);
  EXPECT_EQ(g.displayScale(), 1.0);
  const QPointF origin = g.pictureToWindow(QPointF(0, 0));
  EXPECT_NEAR(origin.x(), 0, 1);
  EXPECT_NEAR(origin.y(), 0, 1);
}

}  // namespace
}  // namespace qm::testing
