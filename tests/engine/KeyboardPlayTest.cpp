// Playing by keys: the reading order of the focus ring, clicks, pick-up and
// drop by Enter, Space tapped or held, Alt+Enter, and a game played with keys
// only.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>

#include "engine/GameDisplay.h"
#include "engine/KeyboardPlay.h"
#include "logic/InventoryGameFixture.h"
#include "platform/SettingsStore.h"
#include "startup/Settings.h"
#include "support/DialogueRecords.h"
#include "support/WalkGame.h"

namespace qm::testing {
namespace {

using engine::FocusKind;
using engine::FocusTarget;
using engine::readingOrder;

// ---- Reading order ---------------------------------------------------------------

TEST(ReadingOrder, LinesTopToBottomEachLeftToRight) {
  // Three on a line with ragged tops, then two below.
  const std::vector<QRect> boxes = {QRect(200, 12, 50, 40), QRect(10, 200, 50, 50), QRect(10, 10, 50, 40),
                                    QRect(100, 14, 50, 40), QRect(5, 260, 50, 50)};
  EXPECT_EQ(readingOrder(boxes), (std::vector<int>{2, 3, 0, 1, 4}));
}

TEST(ReadingOrder, ABoxStartingBelowTheMiddleOfTheLineStartsTheNextLine) {
  // A tall box on the left; on the right one beside its top half and one
  // beside its bottom half: the second comes on the next line.
  const std::vector<QRect> boxes = {QRect(300, 60, 40, 40), QRect(0, 0, 100, 100), QRect(300, 0, 40, 40)};
  EXPECT_EQ(readingOrder(boxes), (std::vector<int>{1, 2, 0}));
  // Exactly at the middle (top 50 of a box 0..99) is below it.
  EXPECT_EQ(readingOrder({QRect(0, 0, 10, 100), QRect(50, 50, 10, 10), QRect(80, 49, 10, 10)}),
            (std::vector<int>{0, 2, 1}));
}

TEST(ReadingOrder, TiesAndDegenerateBoxesKeepAStableOrder) {
  EXPECT_TRUE(readingOrder({}).empty());
  // The same box twice: in the order given.
  EXPECT_EQ(readingOrder({QRect(5, 5, 10, 10), QRect(5, 5, 10, 10)}), (std::vector<int>{0, 1}));
  // Boxes without height make lines of their own unless they share a top.
  EXPECT_EQ(readingOrder({QRect(50, 0, 10, 0), QRect(0, 0, 10, 0), QRect(0, 1, 10, 0)}),
            (std::vector<int>{1, 0, 2}));
  // Far out on the canvas (a hotspot moved by a script) does not overflow.
  EXPECT_EQ(readingOrder({QRect(0, 2000000000, 10, 100000000), QRect(0, -2000000000, 10, 10)}),
            (std::vector<int>{1, 0}));
}

// ---- A game played with keys -------------------------------------------------------------

// Hall (400 x 300): hotspot 1 a shelf low on the left that gives the key and
// goes; hotspot 2 a door high on the right, locked, that the key opens; hotspot
// 3 a sign high on the left, shown only once the key is held. Garden: a gate
// that wins the game, and a dialogue whose one question does what the gate does.
class KeyboardPlayTest : public InventoryGameFixture {
 protected:
  // Where the hotspots' controls lie on the picture (pixels).
  static inline const QRect kShelf{42, 162, 56, 56}, kDoor{202, 42, 76, 96}, kSign{42, 42, 56, 36};

  void SetUp() override {
    InventoryGameFixture::SetUp();
    ASSERT_TRUE(shots_.isValid());
  }

  static void keysGame(GameFolderBuilder& folder, bool windowed = true) {
    GeneralFields g;
    g.projectName = "Keys";
    g.initialFrame = "Hall";
    g.width = 400;
    g.height = 300;
    g.windowedMode = windowed;
    folder.general(g);
    folder.texts(0);
    folder.file("Config/Variables", variablesFileBytes({"HasKey", "DoorOpen", "Won", "SignRead"}));
    item(folder, "key");
    item(folder, "coin", Qt::green);
    combination(folder, "coin", "key", false, false, "", "SignRead = 5");
    startup::RecordWriter fm4;
    fm4.integer(0).integer(1);
    for (int i = 0; i < 8; ++i) fm4.integer(0);
    fm4.integer(1).str("key").separator();
    folder.records("FramesData/Hall.fm4", fm4);
    HotspotSpec shelf, door, sign;
    // As drawn; each control lies 2 pixels inside: kShelf, kDoor, kSign.
    shelf.x = 600; shelf.y = 2400; shelf.w = 900; shelf.h = 900;
    door.x = 3000; door.y = 600; door.w = 1200; door.h = 1500;
    sign.x = 600; sign.y = 600; sign.w = 900; sign.h = 600;
    sign.useConditions = 1;
    sign.mustBeTrue = {"HasKey"};
    ActionSpec take;
    take.variableChangeOn = 1; take.variableName = "HasKey"; take.setToOne = true;
    take.disappear = true;
    ActionSpec locked;
    locked.showMessage = true; locked.messageText = "The door is locked.";
    ActionSpec read;
    read.variableChangeOn = 1; read.variableName = "SignRead"; read.setToOne = true;
    ActionSpec unlock;
    unlock.key = "2_KEY.drg";
    unlock.variableChangeOn = 1; unlock.variableName = "DoorOpen"; unlock.setToOne = true;
    unlock.goToFrame = 1; unlock.frameName = "Garden";
    frame(folder, "Hall", {shelf, door, sign}, {take, locked, read});
    folder.file("FramesData/Hall.fm0", actionFileBytes({unlock}));
    HotspotSpec gate;
    ActionSpec win;
    win.variableChangeOn = 1; win.variableName = "Won"; win.setToOne = true;
    win.showMessage = true; win.messageText = "You win!";
    frame(folder, "Garden", {gate}, {win});
    QuestionSpec who;
    who.question = "Who are you?";
    who.hotspot1 = 1;
    who.endsDialogue = true;
    folder.file("FramesData/Garden.dlg", dialogueFileBytes({who}));
    startup::RecordWriter lks;  // the question acts as hotspot 1 of 1
    lks.integer(1).endRecord();
    folder.records("Frames/Garden.lks", lks);
  }

  engine::KeyboardPlay& keys() { return game().keyboardPlay(); }
  void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent down(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(&game(), &down);
    QKeyEvent up(QEvent::KeyRelease, key, mods);
    QApplication::sendEvent(&game(), &up);
  }
  std::optional<FocusTarget> focus() { return keys().focused(); }
  static FocusTarget hotspot(int n) { return {FocusKind::Hotspot, n}; }
  static FocusTarget itemAt(int n) { return {FocusKind::Item, n}; }
  QString var(const QString& name) { return logic().VariableValueText(name).value_or("?"); }
  static void runEvents(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }

  QTemporaryDir shots_;
};

TEST_F(KeyboardPlayTest, TabVisitsTheVisibleHotspotsInReadingOrderThenItemsAndShiftTabGoesBack) {
  GameFolderBuilder folder;
  keysGame(folder);
  startGame(folder);
  EXPECT_FALSE(focus());
  // The door (top 40) reads before the shelf (top 160); the hidden sign is skipped.
  press(Qt::Key_Tab);
  EXPECT_EQ(focus(), hotspot(2));
  press(Qt::Key_Tab);
  EXPECT_EQ(focus(), hotspot(1));
  press(Qt::Key_Tab);
  EXPECT_EQ(focus(), hotspot(2));  // round again: no items yet
  press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(focus(), hotspot(1));
  inventory().AddPickedObject("coin", true);
  inventory().AddPickedObject("key", true);
  press(Qt::Key_Tab);
  EXPECT_EQ(focus(), itemAt(1));
  press(Qt::Key_Tab);
  EXPECT_EQ(focus(), itemAt(2));
  press(Qt::Key_Tab, Qt::ShiftModifier);  // Shift+Tab as a plain Tab with Shift
  EXPECT_EQ(focus(), itemAt(1));
  // A hotspot hidden while focused loses the ring; the next Tab starts over.
  press(Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(focus(), hotspot(1));
  game().Area[1].setVisibleVb(false);
  EXPECT_FALSE(focus());
  press(Qt::Key_Tab);
  EXPECT_EQ(focus(), hotspot(2));
}

TEST_F(KeyboardPlayTest, TabAndShiftTabGoRoundAChainOfThreeKindsBothWays) {
  // Three targets, not a power of two: a wrong wrap-around cannot look right.
  GameFolderBuilder folder;
  keysGame(folder);
  startGame(folder);
  inventory().AddPickedObject("coin", true);
  // Hall: the door, the shelf, the coin.
  press(Qt::Key_Tab);
  ASSERT_EQ(focus(), hotspot(2));
  press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(focus(), itemAt(1)) << "Shift+Tab on the first goes to the last";
  press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(focus(), hotspot(1));
  press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(focus(), hotspot(2));
  press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(focus(), itemAt(1));
  press(Qt::Key_Tab);
  EXPECT_EQ(focus(), hotspot(2)) << "Tab on the last goes to the first";

  // Garden: the gate, the coin and the dialogue's question.
  game().OpenFrame("Garden", false, 0, 0);
  ASSERT_EQ(keys().focusChain(), (std::vector<FocusTarget>{hotspot(1), itemAt(1), {FocusKind::Question, 1}}));
  press(Qt::Key_Tab);
  ASSERT_EQ(focus(), hotspot(1));
  press(Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(focus(), (FocusTarget{FocusKind::Question, 1})) << "Shift+Tab on the first goes to the last";
  press(Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(focus(), itemAt(1));
  press(Qt::Key_Tab);
  press(Qt::Key_Tab);
  EXPECT_EQ(focus(), hotspot(1)) << "Tab on the last goes to the first";
}

TEST_F(KeyboardPlayTest, EnterClicksTheFocusedHotspotAsTheMouseDoesAndNothingWithoutFocus) {
  GameFolderBuilder folder;
  keysGame(folder);
  startGame(folder);
  press(Qt::Key_Return);  // nothing focused: nothing clicked
  EXPECT_EQ(var("HasKey"), "0");
  press(Qt::Key_Tab);
  press(Qt::Key_Tab);
  ASSERT_EQ(focus(), hotspot(1));
  press(Qt::Key_Return);
  // The whole click: the pick-up, the action, the rules.
  EXPECT_EQ(items(), "key");
  EXPECT_EQ(var("HasKey"), "1");
  EXPECT_FALSE(shown(1));
  EXPECT_TRUE(shown(3));
  EXPECT_FALSE(focus());  // its hotspot went away
  press(Qt::Key_Tab);
  EXPECT_EQ(focus(), hotspot(3));  // the sign now reads first
  press(Qt::Key_Enter);            // the keypad's Enter too
  EXPECT_EQ(var("SignRead"), "1");
}

TEST_F(KeyboardPlayTest, EnterOnAnItemPicksItUpAndTheNextEnterDropsItOnAHotspot) {
  GameFolderBuilder folder;
  keysGame(folder);
  startGame(folder);
  inventory().AddPickedObject("coin", true);
  inventory().AddPickedObject("key", true);
  press(Qt::Key_Backtab, Qt::ShiftModifier);  // backwards from nothing: the last
  ASSERT_EQ(focus(), itemAt(2));
  press(Qt::Key_Return);
  EXPECT_EQ(keys().carriedItem(), 2);
  // Round to the locked door: the key's own action, not the door's click.
  press(Qt::Key_Tab);
  ASSERT_EQ(focus(), hotspot(2));
  press(Qt::Key_Return);
  EXPECT_EQ(frameName(), "Garden");
  EXPECT_EQ(var("DoorOpen"), "1");
  EXPECT_EQ(messagesContaining("locked"), 0u);
  EXPECT_EQ(keys().carriedItem(), 0);
  EXPECT_FALSE(focus());  // a new frame, a fresh start
}

TEST_F(KeyboardPlayTest, AnItemDroppedOnAnotherCombinesOnItselfOrByEscItIsPutBack) {
  GameFolderBuilder folder;
  keysGame(folder);
  startGame(folder);
  inventory().AddPickedObject("coin", true);
  inventory().AddPickedObject("key", true);
  press(Qt::Key_Tab);
  press(Qt::Key_Tab);
  press(Qt::Key_Tab);
  ASSERT_EQ(focus(), itemAt(1));
  // On itself: put back, nothing combined.
  press(Qt::Key_Return);
  EXPECT_EQ(keys().carriedItem(), 1);
  press(Qt::Key_Return);
  EXPECT_EQ(keys().carriedItem(), 0);
  EXPECT_EQ(var("SignRead"), "0");
  // Esc puts it back and still shows the menu bar.
  press(Qt::Key_Return);
  press(Qt::Key_Escape);
  EXPECT_EQ(keys().carriedItem(), 0);
  EXPECT_TRUE(game().mnuExit->visible());
  // The coin on the key: their combination runs.
  press(Qt::Key_Return);
  press(Qt::Key_Tab);
  ASSERT_EQ(focus(), itemAt(2));
  press(Qt::Key_Return);
  EXPECT_EQ(var("SignRead"), "5");
  EXPECT_EQ(keys().carriedItem(), 0);
  // An item taken away while carried is no longer carried.
  press(Qt::Key_Return);
  EXPECT_EQ(keys().carriedItem(), 2);
  inventory().RemovePickedObject(1);
  EXPECT_EQ(keys().carriedItem(), 0);
}

TEST_F(KeyboardPlayTest, SpaceTappedClicksTheFocusedHotspotHeldOutlinesInstead) {
  GameFolderBuilder folder;
  keysGame(folder);
  startGame(folder);
  // Nothing focused: Space outlines at once, for as long as it is held.
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
  QApplication::sendEvent(&game(), &down);
  EXPECT_TRUE(keys().outlining());
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QString(" "), true);
  QApplication::sendEvent(&game(), &repeat);
  EXPECT_TRUE(keys().outlining());
  QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier);
  QApplication::sendEvent(&game(), &up);
  EXPECT_FALSE(keys().outlining());
  EXPECT_EQ(var("HasKey"), "0");
  // Focused and held: outlines after a moment and clicks nothing.
  press(Qt::Key_Tab);
  press(Qt::Key_Tab);
  ASSERT_EQ(focus(), hotspot(1));
  QApplication::sendEvent(&game(), &down);
  EXPECT_FALSE(keys().outlining());
  runEvents(engine::KeyboardPlay::kHoldMilliseconds + 150);
  EXPECT_TRUE(keys().outlining());
  QApplication::sendEvent(&game(), &up);
  EXPECT_FALSE(keys().outlining());
  EXPECT_EQ(var("HasKey"), "0");
  // Focused and tapped: the click.
  press(Qt::Key_Space);
  EXPECT_FALSE(keys().outlining());
  EXPECT_EQ(var("HasKey"), "1");
}

TEST_F(KeyboardPlayTest, TheOutlineKeyComesFromTheSettingsAndAnUnusableOneFallsBackToSpace) {
  GameFolderBuilder folder;
  keysGame(folder);
  startup::InitializeProject(folder.root());
  startup::SaveSetting(startup::settings_keys::kOutlineKey, "H");
  startGame(folder);
  EXPECT_EQ(keys().outlineKey(), Qt::Key_H);
  QKeyEvent down(QEvent::KeyPress, Qt::Key_H, Qt::NoModifier);
  QApplication::sendEvent(&game(), &down);
  EXPECT_TRUE(keys().outlining());
  QKeyEvent up(QEvent::KeyRelease, Qt::Key_H, Qt::NoModifier);
  QApplication::sendEvent(&game(), &up);
  EXPECT_FALSE(keys().outlining());
  // Space now only clicks, at once.
  press(Qt::Key_Tab);
  press(Qt::Key_Tab);
  QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
  QApplication::sendEvent(&game(), &space);
  EXPECT_EQ(var("HasKey"), "1");
  EXPECT_FALSE(keys().outlining());

  // Keys that mean something else, and text that is no key.
  for (const char* bad : {"Esc", "Tab", "Return", "F9", "3", "Ctrl+X", "A, B", "Nonsense", "Shift"}) {
    GameFolderBuilder other;
    keysGame(other);
    startup::InitializeProject(other.root());
    startup::SaveSetting(startup::settings_keys::kOutlineKey, bad);
    startGame(other);
    EXPECT_EQ(keys().outlineKey(), Qt::Key_Space) << bad;
  }
}

TEST_F(KeyboardPlayTest, AltEnterSwitchesBetweenFullScreenAndAWindowAndTheGameKeepsTheChoice) {
  GameFolderBuilder folder;
  keysGame(folder, /*windowed=*/false);
  startGame(folder);
  game().show();
  EXPECT_FALSE(game().display().windowedPlay());
  EXPECT_TRUE(game().isFullScreen());
  press(Qt::Key_Return, Qt::AltModifier);
  EXPECT_TRUE(game().display().windowedPlay());
  EXPECT_FALSE(game().isFullScreen());
  // A window shows its menu bar, and Esc does not hide it.
  EXPECT_TRUE(game().mnuExit->visible());
  press(Qt::Key_Escape);
  EXPECT_TRUE(game().mnuExit->visible());
  EXPECT_EQ(startup::LoadSetting(startup::settings_keys::kWindowedPlay), "True");
  // The next game window of this game starts windowed.
  startGame(folder);
  game().show();
  EXPECT_TRUE(game().display().windowedPlay());
  EXPECT_FALSE(game().isFullScreen());
  press(Qt::Key_Return, Qt::AltModifier);
  EXPECT_FALSE(game().display().windowedPlay());
  EXPECT_TRUE(game().isFullScreen());
  EXPECT_EQ(startup::LoadSetting(startup::settings_keys::kWindowedPlay), "False");
  // Enter alone is not Alt+Enter.
  press(Qt::Key_Return);
  EXPECT_FALSE(game().display().windowedPlay());
}

TEST_F(KeyboardPlayTest, TheSpecialKeysKeepTheirMeaning) {
  GameFolderBuilder folder;
  keysGame(folder);
  startGame(folder);
  // The debug sequence still reveals its menu, and a Tab in between breaks it.
  for (int k : {Qt::Key_F9, Qt::Key_F10, Qt::Key_Tab, Qt::Key_F11, Qt::Key_F12}) press(k);
  EXPECT_FALSE(game().mnuDebug->visible());
  for (int k : {Qt::Key_F9, Qt::Key_F10, Qt::Key_F11, Qt::Key_F12}) press(k);
  EXPECT_TRUE(game().mnuDebug->visible());
  // Ctrl+Q still asks.
  dialogs().queueAnswer(platform::MsgResult::No);
  press(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(messagesContaining("quit"), 1u);
  // Ctrl+Tab is not keyboard play's.
  ASSERT_EQ(focus(), hotspot(2));
  press(Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(focus(), hotspot(2));
}

// ---- Walkthroughs ------------------------------------------------------------------

int countColour(const QImage& image, QRgb colour, const QRect& area) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixel(x, y) == colour) ++n;
  return n;
}

// Pixels of a 2-pixel band along the inside of r.
bool inBand(const QRect& r, int x, int y) {
  return r.contains(x, y) && !r.adjusted(2, 2, -2, -2).contains(x, y);
}

TEST_F(KeyboardPlayTest, AGameFinishedWithKeysOnly) {
  GameFolderBuilder folder;
  keysGame(folder);
  int failed = 0;
  const QString output = walkGame(dialogs(), folder.root(), R"(
start
expect frame Hall
key Tab
expect focus hotspot 2
key Enter
expect message "The door is locked."
key Tab
expect focus hotspot 1
key Space
expect items "key"
expect focus none
key Tab
expect focus hotspot 3
key Tab
key Tab
expect focus item 1
key Enter
expect carrying "key"
key Shift+Tab
expect focus hotspot 2
key Enter
expect frame Garden
expect var DoorOpen 1
expect carrying ""
key Shift+Tab
expect focus question 1
key Enter
expect message "You win!"
expect var Won 1
expect questions ""
)", &failed);
  EXPECT_EQ(failed, 0) << output.toStdString();
}

TEST_F(KeyboardPlayTest, TheOutlineKeyOutlinesExactlyTheVisibleHotspots) {
  GameFolderBuilder folder;
  keysGame(folder);
  const QString plain = shots_.filePath("plain.png");
  const QString held = shots_.filePath("held.png");
  const QString released = shots_.filePath("released.png");
  int failed = 0;
  const QString output = walkGame(dialogs(), folder.root(),
                                  "start\nscreenshot \"" + plain + "\"\nhold Space\nexpect outlined \"1|2\"\n"
                                  "screenshot \"" + held + "\"\nrelease Space\nexpect outlined \"\"\n"
                                  "screenshot \"" + released + "\"\n",
                                  &failed);
  ASSERT_EQ(failed, 0) << output.toStdString();
  const QImage before(plain), during(held), after(released);
  ASSERT_FALSE(during.isNull());
  const QRect shelf = kShelf, door = kDoor, sign = kSign;
  // Every pixel of the two visible hotspots' edges is outlined ...
  for (const QRect& r : {shelf, door})
    EXPECT_EQ(countColour(during, engine::kOutlineColour, r), r.width() * r.height() - (r.width() - 4) * (r.height() - 4));
  // ... and nothing else anywhere: not the hidden sign, not the rest.
  for (int y = 0; y < during.height(); ++y) {
    for (int x = 0; x < during.width(); ++x) {
      if (during.pixel(x, y) == engine::kOutlineColour) {
        ASSERT_TRUE(inBand(shelf, x, y) || inBand(door, x, y)) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(countColour(during, engine::kOutlineColour, sign), 0);
  // A mouse player's picture: the same before and after.
  EXPECT_EQ(before, after);
  EXPECT_EQ(countColour(before, engine::kOutlineColour, before.rect()), 0);
}

TEST_F(KeyboardPlayTest, TheFocusRingDrawsAroundItsHotspotAndLetsTheMouseThrough) {
  GameFolderBuilder folder;
  keysGame(folder);
  const QString ring = shots_.filePath("ring.png");
  int failed = 0;
  // The ring is over the shelf; a mouse press there still reaches the shelf.
  const QString output = walkGame(dialogs(), folder.root(),
                                  "start\nkey Tab\nkey Tab\nexpect focus hotspot 1\nscreenshot \"" + ring +
                                      "\"\nclickat 43 163\nexpect var HasKey 1\n",
                                  &failed);
  ASSERT_EQ(failed, 0) << output.toStdString();
  const QImage shot(ring);
  const QRect around = kShelf.adjusted(-3, -3, 3, 3);
  EXPECT_EQ(countColour(shot, engine::kFocusRingColour, shot.rect()),
            around.width() * around.height() - (around.width() - 6) * (around.height() - 6));
  EXPECT_EQ(shot.pixel(around.left(), around.top()), engine::kFocusRingColour);
  EXPECT_EQ(shot.pixel(around.right(), around.bottom()), engine::kFocusRingColour);
  EXPECT_NE(shot.pixel(kShelf.center()), engine::kFocusRingColour);
}

TEST_F(KeyboardPlayTest, KeyStepsReportWhatIsWrong) {
  GameFolderBuilder folder;
  keysGame(folder);
  int failed = 0;
  const QString output = walkGame(dialogs(), folder.root(), R"(
hold Space
start
hold
release Nokey
expect focus hotspot 1
expect focus somewhere
expect outlined "1"
expect carrying "key"
expect windowed off
expect windowed maybe
)", &failed);
  EXPECT_EQ(failed, 9) << output.toStdString();
  EXPECT_TRUE(output.contains("hold Space -- the game is not running")) << output.toStdString();
  EXPECT_TRUE(output.contains("hold -- hold needs one key name")) << output.toStdString();
  EXPECT_TRUE(output.contains("unknown key 'Nokey'")) << output.toStdString();
  EXPECT_TRUE(output.contains("the focus is on none")) << output.toStdString();
  EXPECT_TRUE(output.contains("expect focus needs hotspot N")) << output.toStdString();
  EXPECT_TRUE(output.contains("outlined: \"\"")) << output.toStdString();
  EXPECT_TRUE(output.contains("carrying \"\"")) << output.toStdString();
  EXPECT_TRUE(output.contains("the game plays in a window")) << output.toStdString();
  EXPECT_TRUE(output.contains("expect windowed needs on or off")) << output.toStdString();
}

}  // namespace
}  // namespace qm::testing
