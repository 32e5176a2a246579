// Clicking hotspots: the action record's effects in their order, frame
// changes, going back, ending the game, item drops and broken files.
#include <gtest/gtest.h>

#include <QMenuBar>

#include "LogicGameFixture.h"
#include "engine/GameDisplay.h"
#include "logic/DisappearList.h"

namespace qm::testing {
namespace {

class HotspotActionsTest : public LogicGameFixture {
 protected:
  void click(int n) { logic().AreaClick(n, engine::kLeftButton); }
};

TEST_F(HotspotActionsTest, ClickChangesVariablesAndVisibility) {
  GameFolderBuilder folder;
  basicGame(folder, {"door", "lamp"});
  HotspotSpec button;
  HotspotSpec openDoor;
  openDoor.useConditions = 1; openDoor.mustBeTrue = {"door", "lamp"};
  ActionSpec act;
  act.variableChangeOn = 1; act.variableName = "door"; act.setToOne = true;
  act.variableListsOn = 1; act.listInvert = {"lamp"};
  frame(folder, "Hall", {button, openDoor}, {act});
  startGame(folder);
  EXPECT_FALSE(shown(2));
  click(1);
  EXPECT_EQ(logic().GetVariableValue("door"), 1);
  EXPECT_EQ(logic().GetVariableValue("lamp"), 1);
  EXPECT_TRUE(shown(2));
  click(1);  // door stays 1, lamp flips back to 0
  EXPECT_EQ(logic().GetVariableValue("lamp"), 0);
  EXPECT_FALSE(shown(2));
}

TEST_F(HotspotActionsTest, AllThreeFlagsLeaveTheInvertedOne) {
  GameFolderBuilder folder;
  basicGame(folder, {"v"});
  ActionSpec act;
  act.variableChangeOn = 1; act.variableName = "v"; act.setToZero = act.setToOne = act.invert = true;
  frame(folder, "Hall", {HotspotSpec{}}, {act});
  startGame(folder);
  click(1);
  EXPECT_EQ(logic().GetVariableValue("v"), 0);
}

TEST_F(HotspotActionsTest, DisappearHidesForTheRestOfTheGame) {
  GameFolderBuilder folder;
  basicGame(folder);
  ActionSpec vanish;
  vanish.disappear = true;
  ActionSpec leave;
  leave.goToFrame = 1; leave.frameName = "Garden";
  ActionSpec back;
  back.goToLastVisitedFrame = true;
  frame(folder, "Hall", {HotspotSpec{}, HotspotSpec{}}, {vanish, leave});
  frame(folder, "Garden", {HotspotSpec{}}, {back});
  startGame(folder);
  click(1);
  EXPECT_FALSE(shown(1));
  EXPECT_TRUE(logic::isHotspotDisappeared(logic().Disappear, "Hall", 1));
  click(2);
  EXPECT_EQ(frameName(), "Garden");
  click(1);
  EXPECT_EQ(frameName(), "Hall");
  EXPECT_FALSE(shown(1));
  EXPECT_TRUE(shown(2));
  EXPECT_EQ(game().FramesHistory.items(), (QStringList{"Hall"}));
}

TEST_F(HotspotActionsTest, GoingBackWithOnlyOneFrameDoesNothing) {
  GameFolderBuilder folder;
  basicGame(folder);
  ActionSpec back;
  back.goToLastVisitedFrame = true;
  frame(folder, "Hall", {HotspotSpec{}}, {back});
  startGame(folder);
  EXPECT_EQ(logic().MakeAction(1, 0, false), logic::GameLogic::kNothingFurther);
  EXPECT_EQ(frameName(), "Hall");
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(HotspotActionsTest, MessageBoxOrInFrameMessage) {
  GameFolderBuilder folder;
  basicGame(folder);
  ActionSpec box;
  box.showMessage = true; box.messageText = "A dusty old box.";
  ActionSpec panel = box;
  panel.messageText = "Written on the wall.";
  panel.messageInFrame = true;
  frame(folder, "Hall", {HotspotSpec{}, HotspotSpec{}}, {box, panel});
  auto& g = startGame(folder);
  click(1);
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text, "A dusty old box.");
  click(2);
  EXPECT_EQ(boxCount(), 1u);
  EXPECT_TRUE(g.FrameMessageBox->visible());
  EXPECT_EQ(g.LabelMessageBox->caption(), "Written on the wall.");
}

TEST_F(HotspotActionsTest, MessageAndFrameChangeBothHappen) {
  GameFolderBuilder folder;
  basicGame(folder, {"seen"});
  HotspotSpec onlyAfter;
  onlyAfter.useConditions = 1; onlyAfter.mustBeTrue = {"seen"};
  ActionSpec act;
  act.variableChangeOn = 1; act.variableName = "seen"; act.setToOne = true;
  act.showMessage = true; act.messageText = "Off we go.";
  act.goToFrame = 1; act.frameName = "Garden";
  frame(folder, "Hall", {HotspotSpec{}, onlyAfter}, {act});
  frame(folder, "Garden");
  startGame(folder);
  click(1);
  ASSERT_EQ(messagesContaining("Off we go."), 1u);
  EXPECT_EQ(frameName(), "Garden");
}

TEST_F(HotspotActionsTest, EndGameChangesVariablesFirstAndThenUnloads) {
  GameFolderBuilder folder;
  basicGame(folder, {"v"});
  ActionSpec act;
  act.variableChangeOn = 1; act.variableName = "v"; act.setToOne = true;
  act.disappear = true; act.endGame = true;
  act.showMessage = true; act.messageText = "never shown";
  act.goToFrame = 1; act.frameName = "Garden";
  frame(folder, "Hall", {HotspotSpec{}}, {act});
  frame(folder, "Garden");
  startGame(folder);
  EXPECT_EQ(logic().MakeAction(1, 0, false), logic::GameLogic::kEndGame);
  EXPECT_EQ(logic().GetVariableValue("v"), 1);
  EXPECT_TRUE(logic::isHotspotDisappeared(logic().Disappear, "Hall", 1));
  EXPECT_EQ(boxCount(), 0u);
  EXPECT_EQ(frameName(), "Hall");
  logic().MakeActionAndConsequences(1, 0, false);
  EXPECT_TRUE(startup::GameStopped());
}

TEST_F(HotspotActionsTest, ChannelRecordsAndFadeGoToTheChannelTable) {
  GameFolderBuilder folder;
  basicGame(folder);
  ActionSpec stay;
  stay.fadeDurationMs = 1500;
  stay.channels = {ChannelSpec{2, true, true, 6, "rain.wav"}};
  frame(folder, "Hall", {HotspotSpec{}}, {stay});
  auto& g = startGame(folder);
  g.soundChannels().table().channel(1).keepIfPlaying = true;
  EXPECT_EQ(logic().MakeAction(1, 0, false), logic::GameLogic::kNothingFurther);
  EXPECT_DOUBLE_EQ(g.soundChannels().table().fadeSeconds, 1.5);
  EXPECT_FALSE(g.soundChannels().table().channel(1).keepIfPlaying);
}

TEST_F(HotspotActionsTest, EightChannelRecordsAreAnError) {
  GameFolderBuilder folder;
  basicGame(folder, {"v"});
  ActionSpec act;
  act.variableChangeOn = 1; act.variableName = "v"; act.setToOne = true;
  act.channels.assign(8, ChannelSpec{1, false, false, 5, ""});
  act.showMessage = true; act.messageText = "not reached";
  frame(folder, "Hall", {HotspotSpec{}}, {act});
  startGame(folder);
  EXPECT_EQ(logic().MakeAction(1, 0, false), logic::GameLogic::kNothingFurther);
  EXPECT_EQ(messagesContaining(" Unable to make the action associated with the hotspot #1. "), 1u);
  EXPECT_EQ(messagesContaining("not reached"), 0u);
  EXPECT_EQ(logic().GetVariableValue("v"), 1);
}

TEST_F(HotspotActionsTest, MissingRecordOrFileDoesNothingQuietly) {
  GameFolderBuilder folder;
  basicGame(folder, {"v"});
  ActionSpec act;
  act.variableChangeOn = 1; act.variableName = "v"; act.setToOne = true;
  frame(folder, "Hall", {HotspotSpec{}, HotspotSpec{}, HotspotSpec{}}, {act, act});
  frame(folder, "Bare", {HotspotSpec{}});
  auto& g = startGame(folder);
  click(3);
  EXPECT_EQ(logic().GetVariableValue("v"), 0);
  g.OpenFrame("Bare", false, 0, 0);
  click(1);
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(HotspotActionsTest, BrokenActionRecordReportsAndKeepsEarlierEffects) {
  GameFolderBuilder folder;
  basicGame(folder, {"v"});
  ActionSpec act;
  act.variableChangeOn = 1; act.variableName = "v"; act.setToOne = true;
  act.goToFrame = 1; act.frameName = "Garden";
  QByteArray bytes = actionFileBytes({act});
  bytes.replace("\"Garden\",0,0,0", "\"Garden\",\"x\",0,0");  // field 14 is not a number
  frame(folder, "Hall", {HotspotSpec{}});
  frame(folder, "Garden");
  folder.file("FramesData/Hall.fm3", bytes);
  startGame(folder);
  click(1);
  EXPECT_EQ(messagesContaining(" Unable to make the action associated with the hotspot #1. "), 1u)
      << allMessages().toStdString();
  EXPECT_EQ(logic().GetVariableValue("v"), 1);
  EXPECT_EQ(frameName(), "Hall");
}

TEST_F(HotspotActionsTest, RightClickTogglesTheMenuBarInsteadOfActing) {
  GameFolderBuilder folder;
  basicGame(folder, {"v"});
  GeneralFields fullScreen;  // a windowed game shows its menu bar all the time
  fullScreen.initialFrame = "Hall";
  fullScreen.width = 400;
  fullScreen.height = 300;
  fullScreen.windowedMode = false;
  folder.general(fullScreen);
  ActionSpec act;
  act.variableChangeOn = 1; act.variableName = "v"; act.setToOne = true;
  frame(folder, "Hall", {HotspotSpec{}}, {act});
  auto& g = startGame(folder);
  ASSERT_TRUE(g.display().menuBar()->isHidden());
  logic().AreaClick(1, engine::kRightButton);
  EXPECT_FALSE(g.display().menuBar()->isHidden());
  EXPECT_TRUE(g.mnuExit->visible());
  EXPECT_EQ(logic().GetVariableValue("v"), 0);
  logic().AreaClick(1, engine::kRightButton);
  EXPECT_TRUE(g.display().menuBar()->isHidden());
  EXPECT_EQ(logic().GetVariableValue("v"), 0);
}

TEST_F(HotspotActionsTest, AScriptsChangesShowAtOnce) {
  GameFolderBuilder folder;
  basicGame(folder, {"HasKey"});
  HotspotSpec door;
  door.useConditions = 1; door.mustBeTrue = {"HasKey"};
  frame(folder, "Hall", {HotspotSpec{}, door});
  startGame(folder);
  ASSERT_FALSE(shown(2));
  EXPECT_EQ(logic().ExecuteVBScriptAndConsequences("HasKey = 1", true), script::ScriptResult::Ok);
  EXPECT_TRUE(shown(2));
  EXPECT_EQ(logic().ExecuteVBScriptAndConsequences("HasKey = 0", true), script::ScriptResult::Ok);
  EXPECT_FALSE(shown(2));
}

TEST_F(HotspotActionsTest, AFailedScriptLeavesItsRequestsUndone) {
  GameFolderBuilder folder;
  basicGame(folder);
  frame(folder, "Hall", {HotspotSpec{}});
  frame(folder, "Garden");
  startGame(folder);
  EXPECT_EQ(logic().ExecuteVBScriptAndConsequences("GoToFrame \"Garden\", 0, 0\r\nx = 1 / 0", true),
            script::ScriptResult::Failed);
  EXPECT_EQ(frameName(), "Hall");
  EXPECT_EQ(messagesContaining("Division by zero"), 1u) << allMessages().toStdString();
}

TEST_F(HotspotActionsTest, StoppedGameIgnoresClicks) {
  GameFolderBuilder folder;
  basicGame(folder, {"v"});
  ActionSpec act;
  act.variableChangeOn = 1; act.variableName = "v"; act.setToOne = true;
  frame(folder, "Hall", {HotspotSpec{}}, {act});
  startGame(folder);
  startup::SetGameStopped(true);
  click(1);
  startup::SetGameStopped(false);
  EXPECT_EQ(logic().GetVariableValue("v"), 0);
}

TEST_F(HotspotActionsTest, ItemDropFindsItsRecordByKeyIgnoringCase) {
  GameFolderBuilder folder;
  basicGame(folder, {"opened"});
  ActionSpec drop;
  drop.key = "1_GOLDEN Key.drg";
  drop.variableChangeOn = 1; drop.variableName = "opened"; drop.setToOne = true;
  frame(folder, "Hall", {HotspotSpec{}});
  folder.file("FramesData/Hall.fm0", actionFileBytes({drop}));
  auto& g = startGame(folder);
  auto& item = g.PickedObject.Load(1);
  item.setTag("Golden key");
  EXPECT_EQ(logic().MakeAction(2, 1, false), logic::GameLogic::kNothingFurther);
  EXPECT_EQ(logic().GetVariableValue("opened"), 0);
  logic().AreaDragDrop(1, 1, 0, 0);
  EXPECT_EQ(logic().GetVariableValue("opened"), 1);
}

TEST_F(HotspotActionsTest, MouseDownStoresTheClickPositionInPixels) {
  GameFolderBuilder folder;
  basicGame(folder);
  HotspotSpec h;
  h.x = 1470; h.y = 2970;  // control at 1500, 3000
  frame(folder, "Hall", {h});
  auto& g = startGame(folder);
  logic().AreaMouseDown(1, engine::kLeftButton, 0, 100, 50);
  EXPECT_EQ(g.state().ClickPositionX, 107);
  EXPECT_EQ(g.state().ClickPositionY, 203);
}

TEST_F(HotspotActionsTest, ScriptFrameRequestLastVisitedFrame) {
  GameFolderBuilder folder;
  basicGame(folder);
  ActionSpec go;
  go.goToFrame = 1; go.frameName = "Garden";
  frame(folder, "Hall", {HotspotSpec{}}, {go});
  frame(folder, "Garden");
  auto& g = startGame(folder);
  click(1);
  ASSERT_EQ(frameName(), "Garden");
  g.state().VBScriptAction.sFrameToLoad = "Last Visited Frame";
  logic().ExecuteConsequences();
  EXPECT_EQ(frameName(), "Hall");
  EXPECT_EQ(g.FramesHistory.items(), (QStringList{"Hall"}));
  g.state().VBScriptAction.ResetModule();
  g.state().VBScriptAction.sFrameToLoad = "last visited frame";
  logic().ExecuteConsequences();
  EXPECT_EQ(frameName(), "Hall");
  EXPECT_TRUE(g.state().VBScriptAction.sFrameToLoad.isEmpty());
}

}  // namespace
}  // namespace qm::testing
