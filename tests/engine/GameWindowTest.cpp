// The game window: menu bar, keys, mouse on the background, frames menu,
// quitting.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <cmath>

#include "GameFixture.h"
#include "engine/GameDisplay.h"
#include "startup/MediaFiles.h"
#include "startup/Messages.h"
#include "startup/Settings.h"

namespace qm::testing {
namespace {

class GameWindowTest : public GameFixture {
 protected:
  engine::Game& open(GeneralFields g = {}, GameFolderBuilder* extra = nullptr) {
    return startPlainHall(extra ? *extra : folder_, g);
  }
  static bool menusShown(engine::Game& g) { return g.mnuExit->visible(); }
  GameFolderBuilder folder_;
};

TEST_F(GameWindowTest, FullScreenStartsWithTheMenusHidden) {
  auto& g = open();
  EXPECT_FALSE(menusShown(g));
  EXPECT_TRUE(g.display().menuBar()->isHidden());
}

TEST_F(GameWindowTest, EscapeTogglesTheMenusAndAsksMoviesToStop) {
  auto& g = open();
  g.state().StopMovie = false;
  g.input().KeyDown(27, 0);
  EXPECT_TRUE(menusShown(g));
  EXPECT_TRUE(g.state().StopMovie);
  EXPECT_TRUE(g.state().TransitionSkip);
  EXPECT_FALSE(g.display().menuBar()->isHidden());
  g.input().KeyDown(27, 0);
  EXPECT_FALSE(menusShown(g));
}

TEST_F(GameWindowTest, WithoutAMenuBarNothingShowsTheMenus) {
  GeneralFields f;
  f.noMenuBar = true;
  auto& g = open(f);
  g.input().KeyDown(27, 0);
  g.input().BackgroundMouseDown(engine::kRightButton);
  EXPECT_FALSE(menusShown(g));
}

TEST_F(GameWindowTest, WindowedModeKeepsTheMenusAndAWholeNumberScale) {
  GeneralFields f;
  f.windowedMode = true;
  f.width = 320;
  f.height = 200;
  auto& g = open(f);
  EXPECT_TRUE(menusShown(g));
  g.input().KeyDown(27, 0);
  g.input().BackgroundMouseDown(engine::kRightButton);
  g.input().BackgroundMouseDown(engine::kLeftButton);
  EXPECT_TRUE(menusShown(g));
  const double scale = g.display().displayScale();
  EXPECT_GE(scale, 1.0);
  EXPECT_EQ(scale, std::round(scale));
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
  g.input().BackgroundMouseDown(engine::kRightButton);
  EXPECT_TRUE(menusShown(g));
  g.mnuOptions->onOpen();  // the Options menu was opened
  g.input().BackgroundMouseDown(engine::kRightButton);
  EXPECT_TRUE(menusShown(g));
  g.input().BackgroundMouseDown(engine::kLeftButton);
  EXPECT_FALSE(menusShown(g));
}

TEST_F(GameWindowTest, DebugSequenceRevealsTheDebugMenu) {
  auto& g = open();
  for (int k : {120, 121, 122}) g.input().KeyDown(k, 0);
  EXPECT_EQ(g.input().debugSequenceState(), 3);
  EXPECT_FALSE(g.mnuDebug->visible());
  g.input().KeyDown(123, 0);
  EXPECT_TRUE(g.mnuDebug->visible());
  EXPECT_EQ(g.input().debugSequenceState(), 0);
  g.ShowMenus();  // showing the menus hides it again
  EXPECT_FALSE(g.mnuDebug->visible());
}

TEST_F(GameWindowTest, DebugSequenceWithAnotherKeyBetweenFails) {
  auto& g = open();
  for (int k : {120, 121, 65, 122, 123}) g.input().KeyDown(k, 0);
  EXPECT_FALSE(g.mnuDebug->visible());
  for (int k : {120, 122, 121, 122, 123}) g.input().KeyDown(k, 0);
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
  EXPECT_EQ(captions, QStringList({"Big", "Hall", "a"}));  // any letter case of the extension
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
  withVariablesFile(folder);
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
  g.input().KeyDown('Q', 2);
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text, "Do you really want to quit?");
  EXPECT_EQ(lastBox().buttons, platform::MsgButtons::YesNo);
  EXPECT_EQ(lastBox().icon, platform::MsgIcon::Question);
  EXPECT_FALSE(startup::GameStopped());
}

TEST_F(GameWindowTest, QuittingDisablesTheWindowThenUnloads) {
  auto& g = open();
  bool unloaded = false;
  QObject::connect(&g, &engine::Game::unloaded, [&] { unloaded = true; });
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

// Messages, stopping and the CD prompt reach the newest window; an older one
// going away must not cut the newer one off.
TEST_F(GameWindowTest, AnOlderWindowGoingAwayLeavesTheNewerOneReachable) {
  open();
  auto older = std::make_unique<engine::Game>();
  auto newer = std::make_unique<engine::Game>();
  newer->ResetAll();
  older.reset();
  startup::ShowMessage("Still here", true, true);
  EXPECT_TRUE(newer->FrameMessageBox->visible());
  EXPECT_EQ(newer->state().InFrameMessagesShown, QStringList{"Still here"});
  newer.reset();
  startup::ShowMessage("Nobody", true, true);  // no window: nothing to reach, nothing breaks
}

TEST_F(GameWindowTest, TheMenusUseTheGamesFontFamily) {
  auto& g = open();
  EXPECT_EQ(QFontInfo(g.display().menuBar()->font()).family(), "Liberation Sans");
  EXPECT_EQ(QFontInfo(g.mnuOptions->menu()->font()).family(), "Liberation Sans");
  EXPECT_EQ(QFontInfo(g.mnuDebug->menu()->font()).family(), "Liberation Sans");
}

// While an action's video plays the screen shows the game's own pointer, found
// as every media file is: here only under its coded name.
TEST_F(GameWindowTest, TheScreenPointerDuringAVideoIsTheDefaultIconUnderItsCodedName) {
  QImage icon(32, 32, QImage::Format_ARGB32);
  icon.fill(Qt::red);
  ASSERT_TRUE(icon.save(folder_.path(startup::GetStoredMediaFileName("Icons/hand.ico", false)), "ICO"));
  GeneralFields f;
  f.defaultMousePointer = "hand.ico";
  auto& g = open(f);
  g.SetScreenPointerArrow();
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->pixmap().width(), 32) << "the game's icon, not the arrow";
  g.SetScreenPointerDefault();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(boxCount(), 0u);
}

}  // namespace
}  // namespace qm::testing
