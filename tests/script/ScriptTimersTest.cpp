// Script timers and timed events against the scripts around them, on the game
// clock: a tick that comes due while another script runs waits for that
// script's end and runs once; a timer procedure that fails part way still has
// its consequences; a script really started under another one is refused.
#include <gtest/gtest.h>

#include "ScriptGameFixture.h"
#include "logic/Inventory.h"
#include "platform/Clock.h"
#include "platform/WaitWhile.h"
#include "script/TimedEvents.h"
#include "startup/RecordWriter.h"

namespace qm::testing {
namespace {

class ScriptTimersTest : public ScriptGameFixture {
 protected:
  void SetUp() override {
    ScriptGameFixture::SetUp();
    platform::Clock::instance().useVirtualTime();
  }
  void TearDown() override {
    ScriptGameFixture::TearDown();
    platform::Clock::instance().useRealTimeForTests();
  }
  // Lets `ms` of game time pass, with the timers and events due meanwhile.
  static void play(int ms) {
    const qint64 until = platform::Clock::instance().nsecs() + qint64(ms) * 1'000'000;
    platform::waitUntil(until, [] { return true; });
  }
  // Code that keeps its script running for `seconds` of game time while
  // window events run.
  static QString busyFor(double seconds) {
    return "t = Timer\r\nDo While Timer - t < " + QString::number(seconds) + "\r\n  DoComponentsEvents\r\nLoop\r\n";
  }
};

TEST_F(ScriptTimersTest, AScriptTimerDueWhileAScriptRunsTicksOnceAfterIt) {
  GameFolderBuilder folder;
  basicGame(folder, {"outer", "inner", "sawOuter"});
  procedures(folder, "Sub TimerObject1()\r\n  inner = inner + 1\r\n  sawOuter = outer\r\nEnd Sub");
  frame(folder, "Hall");
  startGame(folder);
  // The timer comes due some twenty times while the script runs.
  run("LoadControl TimerObject(1)\r\nTimerObject(1).Interval = 10\r\nTimerObject(1).Enabled = True\r\n" +
      busyFor(0.2) + "TimerObject(1).Enabled = False\r\nouter = 1");
  EXPECT_EQ(var("outer"), 1);
  EXPECT_EQ(var("inner"), 0) << "not while the script runs";
  play(50);
  EXPECT_EQ(var("inner"), 0) << "the script switched its timer off before it ended";
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();

  // Left on, the timer ticks once when the script has ended, then as usual.
  run("TimerObject(1).Enabled = True\r\n" + busyFor(0.2) + "outer = 2");
  EXPECT_EQ(var("inner"), 0);
  play(1);
  EXPECT_EQ(var("inner"), 1) << "the ticks missed meanwhile are one";
  EXPECT_EQ(var("sawOuter"), 2) << "it ran after the script had ended";
  EXPECT_TRUE(game().TimerObject[1].enabled());
  play(100);
  EXPECT_GE(var("inner"), 9);
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
}

// A repeating clock event while an item's pop-up slides the bar down: the
// slide lets events run inside the script that added the item.
TEST_F(ScriptTimersTest, ATimedEventDueDuringAnItemsPopUpRunsAfterTheScriptAndKeepsRepeating) {
  GameFolderBuilder folder;
  basicGame(folder, {"chimes", "added"});
  startup::RecordWriter obj;
  obj.str("coin.png");
  folder.records("Areas/coin.obj", obj);
  folder.picture("Areas/coin.png", 32, 32, Qt::yellow);
  frame(folder, "Hall");
  startGame(folder);
  run("CreateTimedEvent 0.02, \"chimes = chimes + 1\", True");
  play(50);
  const int before = var("chimes");
  ASSERT_GE(before, 2);
  run("AddItem \"coin\", False\r\nadded = chimes + 1");
  EXPECT_TRUE(game().inventory().popUp());
  EXPECT_EQ(var("added"), before + 1) << "no chime ran inside the script";
  play(1);
  EXPECT_EQ(var("chimes"), before + 1) << "one chime for all it missed";
  ASSERT_EQ(game().timedEvents().TimedEventsTable().size(), 2u);
  EXPECT_TRUE(game().timedEvents().TimedEventsTable()[1].active);
  play(100);
  EXPECT_GE(var("chimes"), before + 5);
  EXPECT_EQ(messagesContaining(script::kResetFailedSentence), 0u) << allMessages().toStdString();
}

TEST_F(ScriptTimersTest, AScriptReallyStartedUnderARunningOneIsRefusedWithTheMessage) {
  GameFolderBuilder folder;
  basicGame(folder, {"visits", "outer"});
  FrameSpec hall;
  hall.timerOn = true;
  hall.timerSeconds = "0.1";
  hall.timerTarget = "Garden";
  frame(folder, "Hall", {}, {}, hall);
  FrameSpec garden;
  garden.runFrameProcedure = true;
  garden.frameProcedure = "visits = visits + 1";
  frame(folder, "Garden", {}, {}, garden);
  startGame(folder);
  ASSERT_EQ(frameName(), "Hall");
  // The frame timer opens Garden under the running script: its start code
  // cannot run then.
  run(busyFor(0.3) + "outer = 1");
  EXPECT_EQ(frameName(), "Garden");
  EXPECT_EQ(var("visits"), 0);
  EXPECT_EQ(var("outer"), 1);
  EXPECT_EQ(messagesContaining(script::kResetFailedSentence), 1u) << allMessages().toStdString();
}

// What the procedure did before its error counts: the hotspots follow its
// variables, its frame request is carried out, and the timer ticks on.
TEST_F(ScriptTimersTest, AScriptTimerWhoseProcedureFailsPartWayHasItsConsequencesAndTicksOn) {
  GameFolderBuilder folder;
  basicGame(folder, {"ticks", "armed"});
  procedures(folder,
             "Sub TimerObject1()\r\n  ticks = ticks + 1\r\n  armed = 1\r\n"
             "  If ticks = 2 Then GoToFrame \"Garden\", 0, 0\r\n  x = 1 / 0\r\nEnd Sub");
  HotspotSpec lever;
  lever.useConditions = 1;
  lever.mustBeTrue = {"armed"};
  frame(folder, "Hall", {lever}, {ActionSpec{}});
  frame(folder, "Garden");
  startGame(folder);
  ASSERT_FALSE(game().Area[1].visible());
  run("LoadControl TimerObject(1)\r\nTimerObject(1).Interval = 20\r\nTimerObject(1).Enabled = True");
  play(30);
  ASSERT_EQ(var("ticks"), 1);
  EXPECT_EQ(messagesContaining("Division by zero"), 1u) << allMessages().toStdString();
  EXPECT_TRUE(game().Area[1].visible()) << "armed = 1 was set before the error";
  EXPECT_TRUE(game().TimerObject[1].enabled());
  play(20);
  EXPECT_EQ(var("ticks"), 2);
  EXPECT_EQ(frameName(), "Garden") << "the second tick asked for Garden before its error";
}

TEST_F(ScriptTimersTest, AScriptTimerWithoutItsProcedureStopsAfterOneMessage) {
  GameFolderBuilder folder;
  basicGame(folder);
  frame(folder, "Hall");
  startGame(folder);
  run("LoadControl TimerObject(3)\r\nTimerObject(3).Interval = 10\r\nTimerObject(3).Enabled = True");
  play(200);
  EXPECT_EQ(messagesContaining(script::kRunFailedSentence), 1u) << allMessages().toStdString();
  EXPECT_FALSE(game().TimerObject[3].enabled());
}

}  // namespace
}  // namespace qm::testing
