// Whole small games, built per test and walked with the walkthrough runner
// through the real mouse handlers.
#include <gtest/gtest.h>

#include "LogicGameFixture.h"
#include "support/WalkGame.h"

namespace qm::testing {
namespace {

class WalkthroughGamesTest : public LogicGameFixture {
 protected:
  QString walk(GameFolderBuilder& folder, const QString& steps, int* failed) {
    return walkGame(dialogs(), folder.root(), steps, failed);
  }
};

TEST_F(WalkthroughGamesTest, KeyDoorAndGoingBack) {
  GameFolderBuilder folder;
  basicGame(folder, {"HasKey", "DoorOpen"});
  folder.picture("Areas/key.png", 30, 20, Qt::yellow);
  HotspotSpec key;
  key.x = 1500; key.y = 1500; key.w = 600; key.h = 600;
  key.hasPicture = true; key.pictureFile = "key.png"; key.stretch = 1;
  HotspotSpec door;
  door.x = 3000; door.y = 1500;
  door.useConditions = 1; door.mustBeTrue = {"HasKey"};
  HotspotSpec sign;
  sign.x = 4500; sign.y = 1500;
  ActionSpec takeKey;
  takeKey.variableChangeOn = 1; takeKey.variableName = "HasKey"; takeKey.setToOne = true;
  takeKey.disappear = true;
  takeKey.showMessage = true; takeKey.messageText = "You take the key."; takeKey.messageInFrame = true;
  ActionSpec openDoor;
  openDoor.variableListsOn = 1; openDoor.listOne = {"DoorOpen"};
  openDoor.goToFrame = 1; openDoor.frameName = "Garden";
  ActionSpec readSign;
  readSign.showMessage = true; readSign.messageText = "Beware of the dog.";
  frame(folder, "Hall", {key, door, sign}, {takeKey, openDoor, readSign});
  ActionSpec back;
  back.goToLastVisitedFrame = true;
  frame(folder, "Garden", {HotspotSpec{}}, {back});

  int failed = 0;
  const QString output = walk(folder, R"(
start
expect frame Hall
expect visible 1
expect hidden 2
click 3
expect message "Beware of the dog."
click 1
expect message "You take the key."
expect var HasKey 1
expect hidden 1
expect visible 2
click 2
expect frame Garden
expect var DoorOpen 1
click 1
expect frame Hall
expect hidden 1
expect visible 2
)", &failed);
  EXPECT_EQ(failed, 0) << output.toStdString();
  EXPECT_TRUE(output.contains("18 passed, 0 failed")) << output.toStdString();
}

TEST_F(WalkthroughGamesTest, ClickAtHitsTheTopmostHotspot) {
  GameFolderBuilder folder;
  basicGame(folder, {"hits"});
  HotspotSpec under;  // pixels 100..140
  under.x = 1470; under.y = 1470; under.w = 660; under.h = 660;
  HotspotSpec over = under;  // loaded later, so in front
  ActionSpec a1, a2;
  a1.variableChangeOn = 1; a1.variableName = "hits"; a1.setToZero = true;
  a2.variableChangeOn = 1; a2.variableName = "hits"; a2.invert = true;
  frame(folder, "Hall", {under, over}, {a1, a2});
  int failed = 0;
  const QString output = walk(folder, "start\nclickat 110 110\nexpect var hits 1\nclickat 110 110\nexpect var hits 0\n",
                              &failed);
  EXPECT_EQ(failed, 0) << output.toStdString();
}

TEST_F(WalkthroughGamesTest, BrokenActionFileShowsItsMessageAndTheGameGoesOn) {
  GameFolderBuilder folder;
  basicGame(folder, {"v"});
  ActionSpec ok;
  ok.goToFrame = 1; ok.frameName = "Garden";
  QByteArray bytes = actionFileBytes({ActionSpec{}, ok});
  bytes.replace(bytes.indexOf("#FALSE#"), 7, "\"oops\"");  // hotspot 1: field 3 is not a boolean
  frame(folder, "Hall", {HotspotSpec{}, HotspotSpec{}});
  frame(folder, "Garden");
  folder.file("FramesData/Hall.fm3", bytes);
  int failed = 0;
  const QString output = walk(folder, R"(
start
click 1
expect message "Unable to make the action associated with the hotspot #1."
expect frame Hall
click 2
expect nomessage
expect frame Garden
)", &failed);
  EXPECT_EQ(failed, 0) << output.toStdString();
}

TEST_F(WalkthroughGamesTest, HotspotsWithoutActionsAndFramesWithoutHotspots) {
  GameFolderBuilder folder;
  basicGame(folder);
  HotspotSpec far;
  far.x = 4500;
  ActionSpec go;
  go.goToFrame = 1; go.frameName = "Empty";
  frame(folder, "Hall", {HotspotSpec{}, far}, {go});
  frame(folder, "Empty");
  int failed = 0;
  const QString output = walk(folder, R"(
start
click 2
expect nomessage
expect frame Hall
click 1
expect frame Empty
expect nomessage
)", &failed);
  EXPECT_EQ(failed, 0) << output.toStdString();
}

TEST_F(WalkthroughGamesTest, MissingVariablesFileIsReportedAndPlayGoesOn) {
  GameFolderBuilder folder;
  basicGame(folder);
  folder.remove("Config/Variables");
  ActionSpec go;
  go.goToFrame = 1; go.frameName = "Garden";
  frame(folder, "Hall", {HotspotSpec{}}, {go});
  frame(folder, "Garden");
  int failed = 0;
  const QString output = walk(folder, R"(
start
expect message "Unable to load variables list."
click 1
expect frame Garden
)", &failed);
  EXPECT_EQ(failed, 0) << output.toStdString();
}

}  // namespace
}  // namespace qm::testing
