// The walkthrough steps for items, saved games, menus and files, on a small
// game walked through the real handlers.
#include <gtest/gtest.h>

#include <QFile>

#include "InventoryGameFixture.h"
#include "support/WalkGame.h"

namespace qm::testing {
namespace {

class InventoryWalkthroughTest : public InventoryGameFixture {
 protected:
  QString walk(GameFolderBuilder& folder, const QString& steps, int* failed) {
    return walkGame(dialogs(), folder.root(), steps, failed);
  }
};

TEST_F(InventoryWalkthroughTest, PickUpCombineSaveOpenTheDoorWithAnItemAndLoad) {
  GameFolderBuilder folder;
  GeneralFields g;
  g.projectName = "Walk";
  g.initialFrame = "Hall";
  g.width = 400;
  g.height = 300;
  g.windowedMode = true;
  folder.general(g);
  folder.texts(0);
  folder.file("Config/Variables", variablesFileBytes({"DoorOpen"}));
  for (const char* name : {"key", "rope", "hook", "grapple"}) item(folder, name);
  combination(folder, "rope", "hook", true, true, "grapple");
  // Hotspot 1 gives the key; hotspot 2 is a door that only the key opens.
  startup::RecordWriter fm4;
  fm4.integer(0).integer(1);
  for (int i = 0; i < 8; ++i) fm4.integer(0);
  fm4.integer(1).str("key").separator();
  folder.records("FramesData/Hall.fm4", fm4);
  HotspotSpec shelf, door;
  shelf.x = 600; shelf.y = 2400; shelf.w = 900; shelf.h = 900;
  door.x = 3000; door.y = 2400; door.w = 1200; door.h = 1500;
  ActionSpec nothing;
  ActionSpec unlock;
  unlock.key = "2_KEY.drg";
  unlock.variableChangeOn = 1; unlock.variableName = "DoorOpen"; unlock.setToOne = true;
  unlock.disappear = true;  // the key is used up
  unlock.goToFrame = 1; unlock.frameName = "Garden";
  frame(folder, "Hall", {shelf, door}, {nothing, nothing});
  folder.file("FramesData/Hall.fm0", actionFileBytes({unlock}));
  frame(folder, "Garden", {HotspotSpec{}}, {nothing});

  int failed = 0;
  const QString output = walk(folder, R"(
start
expect items ""
click 1
expect items "key"
run "Action.AddItem \"rope\", True\nAction.AddItem \"hook\", True"
drag 3 onto 2
expect items "key|rope|hook"
drag 2 onto 3
expect items "key|grapple"
save "before the door"
expect file "before the door.sav"
expect nofile "after the door.sav"
drag 2 to 2
expect frame Hall
drag 1 to 2
expect frame Garden
expect var DoorOpen 1
expect items "grapple"
save "after the door"
expect file "after the door.sav"
save "bad,name"
expect message "Please do not use any of the following characters:"
answer Cancel
save "after the door"
expect message "already exists"
load "before the door"
expect frame Hall
expect var DoorOpen 0
expect items "key|grapple"
load "no such game"
key F9
key F10
key F11
key F12
menu "View variables status..."
expect message "DoorOpen = 0"
menu "Save..."
menu "Nothing like this"
drag 9 to 1
)", &failed);
  EXPECT_EQ(failed, 3) << output.toStdString();
  EXPECT_TRUE(output.contains("FAIL  line 31: load \"no such game\" -- there is no saved game named 'no such game'"))
      << output.toStdString();
  EXPECT_TRUE(output.contains("no visible, enabled menu item is captioned 'Nothing like this'")) << output.toStdString();
  EXPECT_TRUE(output.contains("drag 9 to 1 -- there is no item 9")) << output.toStdString();
}

// An item dropped on an animated picture clicks the frame where it was let go,
// as a mouse press on the picture does.
TEST_F(InventoryWalkthroughTest, ADropOnAnAnimatedPictureStoresThePointInTheFrame) {
  GameFolderBuilder folder;
  basicGame(folder, {"px", "py"});
  item(folder, "key");
  ASSERT_TRUE(QFile::copy(QStringLiteral(QM_SOURCE_DIR "/tests/media/data/three-frames.gif"),
                          folder.path("Areas/bird.gif")));
  HotspotSpec bird;
  bird.pictureKind = 1;
  bird.hasPicture = true;
  bird.pictureFile = "bird.gif";
  bird.x = 1500 - 30;  // the 16 x 12 box lands at pixel (100, 100)
  bird.y = 1500 - 30;
  ActionSpec drop;
  drop.key = "1_KEY.drg";
  drop.runScript = true;
  drop.script = "px = GetClickPositionX\r\npy = GetClickPositionY";
  frame(folder, "Hall", {bird}, {ActionSpec{}});
  folder.file("FramesData/Hall.fm0", actionFileBytes({drop}));
  int failed = 0;
  const QString output = walk(folder, R"(
start
run "Action.AddItem \"key\", True"
drag 1 to 1
expect var px 108
expect var py 106
)", &failed);
  EXPECT_EQ(failed, 0) << output.toStdString();
}

TEST_F(InventoryWalkthroughTest, ASavedGameOfAReadOnlyGameIsExpectedWhereTheGameKeepsIt) {
  GameFolderBuilder folder;
  basicGame(folder);
  frame(folder, "Hall", {HotspotSpec{}}, {ActionSpec{}});
  // Installed read-only: saves go to the user's folder, not the game's.
  logic::SavedGames::setProjectFolderWritableOverride(false);
  int failed = 0;
  const QString output = walk(folder, R"(
start
save "slot"
expect file "slot.sav"
expect nofile "other.sav"
expect nofile "Config/slot.sav"
expect file "Config/General"
)", &failed);
  EXPECT_EQ(failed, 0) << output.toStdString();
  EXPECT_FALSE(QFile::exists(folder.path("slot.sav")));
}

}  // namespace
}  // namespace qm::testing
