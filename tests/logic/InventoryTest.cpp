// The inventory: layout figures, adding and removing items, combinations, the
// pick-up pop-up and the slide, hotspots that give items, bad item files and
// the script members that reach the inventory.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTimer>

#include "InventoryGameFixture.h"
#include "engine/Transitions.h"
#include "logic/InventoryLayout.h"
#include "script/ScriptHost.h"

namespace qm::testing {
namespace {

using logic::InventoryLayout;
using logic::InventoryMotionKind;

// ---- Layout -------------------------------------------------------------------------------

TEST(InventoryLayoutTest, SixHundredFortyPixelsWithTenPixelGapsHoldsFifteenItemsARow) {
  const auto l = InventoryLayout::of(640, 10, 10);
  EXPECT_EQ(l.perRow, 15);  // 9600 / 630 = 15.2
  EXPECT_EQ(l.itemLeft(1), 150);
  EXPECT_EQ(l.itemTop(1), 150);
  EXPECT_EQ(l.itemLeft(15), 150 + 630 * 14);
  EXPECT_EQ(l.itemTop(15), 150);
  EXPECT_EQ(l.itemLeft(16), 150);  // the second row starts
  EXPECT_EQ(l.itemTop(16), 780);
  EXPECT_EQ(l.barHeight(15), 780);
  EXPECT_EQ(l.barHeight(16), 1410);  // 150 + 630 x 2
}

TEST(InventoryLayoutTest, GapsThatLeaveNoRoomStillPlaceOneItemARow) {
  EXPECT_EQ(InventoryLayout::of(10, 10, 10).perRow, 1);
  EXPECT_EQ(InventoryLayout::of(640, -32, 0).perRow, 1);  // a cell of nothing
  EXPECT_EQ(InventoryLayout::of(640, 0, 0).barHeight(0), 480);  // an empty bar is one row high
}

// ---- Items --------------------------------------------------------------------------------

class InventoryTest : public InventoryGameFixture {
 protected:
  // A game whose bar does not pop up (switch 5 off) unless asked.
  engine::Game& start(GameFolderBuilder& folder, bool popUp = false, const std::vector<HotspotSpec>& hotspots = {},
                      const std::vector<ActionSpec>& actions = {}) {
    GeneralFields g;
    g.initialFrame = "Hall";
    g.width = 640;
    g.height = 480;
    g.windowedMode = true;
    g.inventorySwitch5 = popUp;
    folder.general(g);
    folder.file("Config/Variables", variablesFileBytes({"Combined"}));
    frame(folder, "Hall", hotspots, actions);
    for (const char* name : {"key", "rope", "hook", "lamp", "grapple"}) item(folder, name);
    engine::Game& game = startGame(folder);
    game.show();
    return game;
  }
  double barTop() { return game().Inventory1->top(); }
  double barHeight() { return game().Inventory1->height(); }
};

TEST_F(InventoryTest, ItemsAreHeldInTheOrderPickedUpDuplicatesIncluded) {
  GameFolderBuilder folder;
  start(folder);
  inventory().AddPickedObject("key", false);
  inventory().AddPickedObject("rope", false);
  inventory().AddPickedObject("key", false);
  EXPECT_EQ(items(), "key|rope|key");
  EXPECT_EQ(game().state().ObjectsCount, 3);
  EXPECT_EQ(game().PickedObject[2].toolTipText(), "rope");
  EXPECT_TRUE(game().PickedObject[3].hasPicture());
  EXPECT_EQ(game().PickedObject[3].left(), 150 + 2 * 630);
  EXPECT_TRUE(game().Inventory2->visible());
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(InventoryTest, AnActionGivesItsItem) {
  GameFolderBuilder folder;
  ActionSpec give;
  give.giveItem = true;
  give.itemName = "rope";
  start(folder, false, {HotspotSpec{}}, {give});
  logic().AreaClick(1, engine::kLeftButton);
  EXPECT_EQ(items(), "rope");
  EXPECT_EQ(game().state().ObjectsCount, 1);
  EXPECT_TRUE(game().PickedObject[1].visible());
}

TEST_F(InventoryTest, RemovingTheMiddleItemMovesTheLastOneIntoItsPlace) {
  GameFolderBuilder folder;
  start(folder);
  for (const char* n : {"key", "rope", "hook"}) inventory().AddPickedObject(n, true);
  inventory().RemovePickedObject(2);
  EXPECT_EQ(items(), "key|hook");
  EXPECT_EQ(game().PickedObject[2].tag(), "hook");
  EXPECT_EQ(game().PickedObject[2].left(), 150 + 630);  // the second cell
  EXPECT_FALSE(game().PickedObject.exists(3));
  inventory().RemovePickedObject(7);  // no such item: nothing happens
  EXPECT_EQ(items(), "key|hook");
}

TEST_F(InventoryTest, TheButtonHidesWhenTheLastItemGoesWithSwitchFour) {
  GameFolderBuilder folder;
  start(folder);
  EXPECT_FALSE(game().Inventory2->visible());  // empty at the start
  inventory().AddPickedObject("key", true);
  EXPECT_TRUE(game().Inventory2->visible());
  inventory().RemovePickedObject(1);
  EXPECT_FALSE(game().Inventory2->visible());
}

TEST_F(InventoryTest, SixteenItemsMakeTheBarTwoRowsHigh) {
  GameFolderBuilder folder;
  start(folder);
  for (int i = 0; i < 16; ++i) inventory().AddPickedObject("key", true);
  EXPECT_EQ(barHeight(), 1410);
  EXPECT_EQ(game().PickedObject[16].top(), 780);
  inventory().RemovePickedObject(1);
  EXPECT_EQ(barHeight(), 780);
}

TEST_F(InventoryTest, AMissingItemFileIsReportedAndNothingIsAdded) {
  GameFolderBuilder folder;
  start(folder);
  inventory().AddPickedObject("sword", false);
  EXPECT_EQ(items(), "");
  ASSERT_EQ(boxCount(), 1u);
  // The report gives no description of its own.
  EXPECT_TRUE(lastBox().text.endsWith(" Unable to pick up the item named 'sword'. The item may be unavailable, or the "
                                      "icon '' associated to the item may be corrupt."))
      << lastBox().text.toStdString();
}

// After the report nothing more happens: the bar neither comes down nor
// grows, and its timer does not start.
TEST_F(InventoryTest, AFailedPickUpLeavesTheBarAndItsTimerAlone) {
  GameFolderBuilder folder;
  folder.file("Areas/coin.obj", "\"coin.ico\"\r\n");
  folder.file("Areas/coin.ico", QByteArray("this is not an icon at all", 26));
  start(folder, true);
  inventory().AddPickedObject("key", true);
  const double height = barHeight();
  ASSERT_EQ(barTop(), -height);
  for (const char* name : {"sword", "coin"}) {
    inventory().AddPickedObject(name, false);
    EXPECT_EQ(barTop(), -height) << name;
    EXPECT_FALSE(inventory().popUp()) << name;
    EXPECT_FALSE(game().TimerInventory.enabled()) << name;
  }
  EXPECT_EQ(items(), "key|coin");
  EXPECT_EQ(boxCount(), 2u);
}

TEST_F(InventoryTest, AnItemWithAGarbageIconIsHeldUnderItsNameAfterTheReport) {
  GameFolderBuilder folder;
  folder.file("Areas/coin.obj", "\"coin.ico\"\r\n");
  folder.file("Areas/coin.ico", QByteArray("this is not an icon at all", 26));
  start(folder);
  inventory().AddPickedObject("coin", true);
  EXPECT_EQ(items(), "coin");
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_TRUE(lastBox().text.contains("the icon 'coin.ico' associated to the item may be corrupt."));
  EXPECT_TRUE(game().PickedObject[1].hasPicture());  // the built-in stand-in
}

// ---- Combinations ----------------------------------------------------------------------------

TEST_F(InventoryTest, BothItemsGoWhenTheTargetStandsAfterTheDraggedItem) {
  GameFolderBuilder folder;
  combination(folder, "rope", "hook", true, true, "grapple");
  start(folder);
  for (const char* n : {"key", "rope", "lamp", "hook"}) inventory().AddPickedObject(n, true);
  inventory().PickedObjectMouseDown(2, engine::kLeftButton);
  inventory().PickedObjectDragDrop(4);
  // hook stood at 4; after rope (2) went it was 3.
  EXPECT_EQ(items(), "key|lamp|grapple");
}

TEST_F(InventoryTest, BothItemsGoWhenTheTargetStandsBeforeTheDraggedItem) {
  GameFolderBuilder folder;
  combination(folder, "hook", "rope", true, true, "grapple");
  start(folder);
  for (const char* n : {"rope", "key", "hook"}) inventory().AddPickedObject(n, true);
  inventory().PickedObjectMouseDown(3, engine::kLeftButton);
  inventory().PickedObjectDragDrop(1);
  EXPECT_EQ(items(), "key|grapple");
}

TEST_F(InventoryTest, CombinationsAreNotSymmetricAndAnItemDoesNotCombineWithItself) {
  GameFolderBuilder folder;
  combination(folder, "rope", "hook", true, true, "grapple");
  start(folder);
  for (const char* n : {"rope", "hook"}) inventory().AddPickedObject(n, true);
  inventory().PickedObjectMouseDown(2, engine::kLeftButton);
  inventory().PickedObjectDragDrop(1);  // hook on rope: no such file
  inventory().PickedObjectDragDrop(2);  // on itself
  EXPECT_EQ(items(), "rope|hook");
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(InventoryTest, ACombinationRunsItsScriptWithBarsForQuotes) {
  GameFolderBuilder folder;
  combination(folder, "lamp", "key", false, true, "", "Combined = 1 : Action.Message |lit|");
  start(folder);
  for (const char* n : {"lamp", "key"}) inventory().AddPickedObject(n, true);
  inventory().PickedObjectMouseDown(1, engine::kLeftButton);
  inventory().PickedObjectDragDrop(2);
  EXPECT_EQ(items(), "lamp");
  EXPECT_EQ(logic().GetVariableValue("Combined"), 1);
  EXPECT_TRUE(game().state().InFrameMessagesShown.contains("lit") || messagesContaining("lit") > 0) << allMessages().toStdString();
}

TEST_F(InventoryTest, AGarbageCombinationFileIsReported) {
  GameFolderBuilder folder;
  folder.file("Areas/rope_on_hook.drg", "\"nonsense\",\"more\"\r\n");
  start(folder);
  for (const char* n : {"rope", "hook"}) inventory().AddPickedObject(n, true);
  inventory().PickedObjectMouseDown(1, engine::kLeftButton);
  inventory().PickedObjectDragDrop(2);
  ASSERT_EQ(messagesContaining(" Unable to combine items."), 1u);
  EXPECT_TRUE(lastBox().text.endsWith(" Unable to combine items.")) << "no description follows";
  EXPECT_EQ(items(), "rope|hook");
}

// ---- The bar -------------------------------------------------------------------------------

// A capture of the frame as the player sees it leaves the inventory out: the
// bar goes up and stays up, and only the button comes back.
TEST_F(InventoryTest, ACaptureOfTheFrameSendsTheBarUpAndBringsBackTheButton) {
  GameFolderBuilder folder;
  start(folder);
  inventory().AddPickedObject("key", true);
  inventory().setMotion(InventoryMotionKind::Show);
  ASSERT_EQ(barTop(), 0);
  ASSERT_TRUE(game().Inventory2->visible());
  game().transitions().CaptureActualFrame(*game().picStart);
  EXPECT_EQ(barTop(), -barHeight()) << "the bar stays up";
  EXPECT_TRUE(game().Inventory2->visible());
  EXPECT_TRUE(game().Inventory1->visible());
  EXPECT_TRUE(game().PickedObject[1].visible());
  // Nothing yellow (the key) is in the picture.
  const QImage shot = game().picStart->image().convertToFormat(QImage::Format_RGB32);
  int yellow = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) yellow += shot.pixel(x, y) == qRgb(255, 255, 0);
  EXPECT_EQ(yellow, 0);
}

TEST_F(InventoryTest, APickUpPopsTheBarUpForTwoSecondsThenItSlidesAwayOverTheFrame) {
  GameFolderBuilder folder;
  start(folder, true);
  EXPECT_EQ(barTop(), -barHeight());
  inventory().AddPickedObject("key", false);
  EXPECT_EQ(barTop(), 0);
  EXPECT_TRUE(inventory().popUp());
  EXPECT_TRUE(game().TimerInventory.enabled());
  EXPECT_EQ(game().TimerInventory.interval(), 2000);
  // The pointer on the frame does not hide the bar while the pop-up lasts.
  inventory().setMotion(InventoryMotionKind::Hide);
  EXPECT_EQ(barTop(), 0);
  game().TimerInventory.onTimer();
  EXPECT_FALSE(inventory().popUp());
  EXPECT_FALSE(game().TimerInventory.enabled());
  EXPECT_EQ(barTop(), -barHeight());
  EXPECT_GE(inventory().lastSlideSteps(), 20);  // a smooth slide
}

TEST_F(InventoryTest, MovingOffTheBarWhileItSlidesDownReversesIt) {
  GameFolderBuilder folder;
  start(folder);
  QTimer::singleShot(60, [this] {
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 300), QPointF(5, 300), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(game().BackImage, &move);
  });
  QMouseEvent over(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(game().Inventory1, &over);
  // The slide came back up before it reached the bottom.
  EXPECT_EQ(inventory().motion(), InventoryMotionKind::Hide);
  EXPECT_EQ(barTop(), -barHeight());
  EXPECT_FALSE(inventory().moving());
}

TEST_F(InventoryTest, AnItemDraggedOverTheFrameMakesTheBarSlideAway) {
  GameFolderBuilder folder;
  start(folder);
  inventory().AddPickedObject("key", true);
  inventory().setMotion(InventoryMotionKind::Show);
  ASSERT_EQ(barTop(), 0);
  inventory().HideInventoryIfItem(game().BackImage);  // not an item: nothing
  EXPECT_EQ(barTop(), 0);
  inventory().HideInventoryIfItem(&game().PickedObject[1]);
  EXPECT_EQ(barTop(), -barHeight());
}

TEST_F(InventoryTest, WithoutTheSlideSwitchesTheBarJumps) {
  GameFolderBuilder folder;
  GeneralFields g;
  g.initialFrame = "Hall";
  g.windowedMode = true;
  g.inventorySwitch2 = false;
  g.inventorySwitch3 = false;
  folder.general(g);
  frame(folder, "Hall");
  startGame(folder).show();
  inventory().setMotion(InventoryMotionKind::Show);
  EXPECT_EQ(barTop(), 0);
  EXPECT_EQ(inventory().lastSlideSteps(), 1);
  inventory().setMotion(InventoryMotionKind::Hide);
  EXPECT_EQ(barTop(), -barHeight());
}

TEST_F(InventoryTest, WithTheBarOffNothingSlides) {
  GameFolderBuilder folder;
  GeneralFields g;
  g.initialFrame = "Hall";
  g.windowedMode = true;
  g.inventoryBarOn = false;
  folder.general(g);
  frame(folder, "Hall");
  item(folder, "key");
  startGame(folder).show();
  inventory().AddPickedObject("key", false);
  EXPECT_EQ(items(), "key");
  EXPECT_FALSE(game().Inventory1->visible());
  EXPECT_FALSE(game().Inventory2->visible());
}

TEST_F(InventoryTest, TheFrameTimerWaitsWhileTheBarSlides) {
  GameFolderBuilder folder;
  start(folder);
  QTimer::singleShot(50, [this] { game().Timer1_Timer(); });
  inventory().setMotion(InventoryMotionKind::Show);
  EXPECT_EQ(game().Timer1.interval(), 1000);
}

// ---- Pick-ups, drops and scripts --------------------------------------------------------------

TEST_F(InventoryTest, AHotspotGivesTheItemOfItsPickUpRecord) {
  GameFolderBuilder folder;
  startup::RecordWriter fm4;
  auto record = [&fm4](int hotspot, int gives, const QString& name) {
    fm4.integer(0).integer(hotspot);
    for (int i = 0; i < 8; ++i) fm4.integer(0);
    fm4.integer(gives).str(name).separator();
  };
  record(1, 1, "lamp");
  record(2, 0, "rope");
  record(2, 1, "hook");  // only the first record of a hotspot counts
  folder.records("FramesData/Hall.fm4", fm4);
  HotspotSpec a, b;
  b.x = 4000;
  start(folder, false, {a, b}, {ActionSpec{}, ActionSpec{}});
  logic().AreaClick(2, engine::kLeftButton);
  EXPECT_EQ(items(), "");
  logic().AreaClick(1, engine::kLeftButton);
  EXPECT_EQ(items(), "lamp");
}

TEST_F(InventoryTest, ScriptMembersAddAndRemoveItems) {
  GameFolderBuilder folder;
  start(folder);
  auto run = [this](const QString& code) { EXPECT_EQ(logic().ExecuteVBScriptAndConsequences(code, true), script::ScriptResult::Ok); };
  run("Action.AddItem \"key\", True : Action.AddItem \"rope\", True : Action.AddItem \"KEY\", True");
  run("Action.AddItem \"key\", True");
  EXPECT_EQ(items(), "key|rope|KEY|key");
  run("Action.RemoveItem \"Key\", False");  // the last match only
  EXPECT_EQ(items(), "key|rope|KEY");
  run("Action.RemoveItem \"key\", True");
  EXPECT_EQ(items(), "rope");
  run("Action.RemoveAllItems");
  EXPECT_EQ(items(), "");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
}

}  // namespace
}  // namespace qm::testing
