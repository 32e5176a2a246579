// Timed events made by scripts: the 65-second and 16-bit checks and their
// report, numbering, one-shot and repeating firing, removal, pause and start,
// the frame change that discards them, failing runs and a busy engine.
#include <gtest/gtest.h>

#include "ScriptGameFixture.h"
#include "platform/Clock.h"
#include "platform/WaitWhile.h"
#include "script/TimedEvents.h"
#include "startup/Waiting.h"

namespace qm::testing {
namespace {

class TimedEventsTest : public ScriptGameFixture {
 protected:
  // A game on "Hall" with a hotspot whose click runs `clickCode`, and a frame "Garden".
  engine::Game& startWith(const QString& clickCode, const QStringList& vars = {"n", "m", "hits", "seen"}) {
    basicGame(folder_, vars);
    frame(folder_, "Hall", {HotspotSpec{}}, {scriptAction(clickCode)});
    frame(folder_, "Garden");
    return startGame(folder_);
  }
  script::TimedEvents& events() { return game().timedEvents(); }
  GameFolderBuilder folder_;
};

TEST_F(TimedEventsTest, ZeroDurationMakesAnEventThatNeverFires) {
  startWith("n = CreateTimedEvent(0, |hits = hits + 1|, True)");
  click(1);
  runEvents(150);
  EXPECT_EQ(var("n"), 1);
  EXPECT_EQ(var("hits"), 0);
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
}

TEST_F(TimedEventsTest, FortySecondsDoNotFitSixteenBitsAndAreReported) {
  startWith("n = CreateTimedEvent(40, |hits = 1|, False)\r\nm = CreateTimedEvent(1, |hits = 2|, False)");
  click(1);
  EXPECT_EQ(var("n"), 0);
  ASSERT_EQ(messagesContaining(" Unable to create the timed event #1. Overflow"), 1u) << allMessages().toStdString();
  // The element of the failed event stays loaded: its number is not given out again.
  EXPECT_EQ(var("m"), 2);
  EXPECT_FALSE(events().TimedEventsTable()[1].active);
  EXPECT_TRUE(events().TimedEventsTable()[1].code.isEmpty());
}

TEST_F(TimedEventsTest, SixtySixSecondsMakeNothingAndSayNothing) {
  startWith("n = CreateTimedEvent(66, |hits = 1|, False)\r\nm = CreateTimedEvent(1, |hits = 2|, False)");
  click(1);
  EXPECT_EQ(var("n"), 0);
  EXPECT_EQ(var("m"), 1);
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
}

TEST_F(TimedEventsTest, SixtyFiveSecondsPassTheFirstCheckAndFailLikeForty) {
  startWith("n = CreateTimedEvent(65, |hits = 1|, False)");
  click(1);
  EXPECT_EQ(var("n"), 0);
  EXPECT_EQ(messagesContaining(" Unable to create the timed event #1. Overflow"), 1u) << allMessages().toStdString();
}

TEST_F(TimedEventsTest, TheLongestDurationThatFitsIsAccepted) {
  // 32.767 s is 32767 ms; 32.768 s is one millisecond too many.
  startWith("n = CreateTimedEvent(32.767, |hits = 1|, False)\r\nm = CreateTimedEvent(32.768, |hits = 1|, False)");
  click(1);
  EXPECT_EQ(var("n"), 1);
  EXPECT_EQ(game().TimedEvent[1].interval(), 32767);
  EXPECT_EQ(var("m"), 0);
  EXPECT_EQ(messagesContaining("timed event #2. Overflow"), 1u) << allMessages().toStdString();
}

TEST_F(TimedEventsTest, NegativeAndNonNumericDurationsAreReported) {
  startWith("n = CreateTimedEvent(-1, |hits = 1|, False)\r\nm = CreateTimedEvent(|soon|, |hits = 1|, False)");
  click(1);
  EXPECT_EQ(var("n"), 0);
  EXPECT_EQ(var("m"), 0);
  EXPECT_EQ(messagesContaining("timed event #1. Invalid property value"), 1u) << allMessages().toStdString();
  // A duration that is not a number fails before a number is given out.
  EXPECT_EQ(messagesContaining("timed event #0. Type mismatch"), 1u) << allMessages().toStdString();
  EXPECT_EQ(var("hits"), 0);
}

TEST_F(TimedEventsTest, AnEventCountsOnlyAfterTheScriptThatMadeItHasEnded) {
  startWith("n = CreateTimedEvent(0.05, |hits = hits + 1|, False)\r\nseen = TimedEventObject(n).Enabled");
  click(1);
  EXPECT_EQ(var("seen"), 0) << "not counting while its script runs";
  EXPECT_TRUE(game().TimedEvent[1].enabled());
  runEvents(300);
  EXPECT_EQ(var("hits"), 1) << "a one-shot event fires once";
  EXPECT_FALSE(events().TimedEventsTable()[1].active);
}

TEST_F(TimedEventsTest, ARepeatingEventFiresUntilRemoved) {
  startWith("n = CreateTimedEvent(0.03, |hits = hits + 1|, True)");
  click(1);
  runEvents(400);
  const int hits = var("hits");
  EXPECT_GE(hits, 3);
  run("RemoveTimedEvent 1");
  runEvents(200);
  EXPECT_LE(var("hits"), hits + 1);
  const int after = var("hits");
  runEvents(200);
  EXPECT_EQ(var("hits"), after);
  EXPECT_FALSE(events().TimedEventsTable()[1].active);
}

TEST_F(TimedEventsTest, AOneShotEventIsSpentBeforeItsCodeRunsAndAFrameChangeDiscardsAll) {
  // The code sees its own timer already stopped; its frame request then
  // opens Garden, which discards every event, the repeating one included.
  startWith("");
  // The one-shot event's code is quoted inside a quoted script: use the doubled form.
  run("n = CreateTimedEvent(0.05, \"seen = TimedEventObject(1).Interval + 1 : GoToFrame \"\"Garden\"\", 0, 0\", False)\r\n"
      "m = CreateTimedEvent(0.2, \"hits = hits + 1\", True)");
  EXPECT_EQ(var("n"), 1);
  EXPECT_EQ(var("m"), 2);
  runEvents(150);
  EXPECT_EQ(frameName(), "Garden");
  EXPECT_EQ(var("seen"), 1) << "interval 0 while its code ran";
  EXPECT_EQ(game().TimedEvent.UBound(), 0);
  EXPECT_EQ(events().TimedEventsTable().size(), 1u);
  runEvents(300);
  EXPECT_EQ(var("hits"), 0);
}

TEST_F(TimedEventsTest, RemovingNumberZeroOrAboveTheHighestDoesNothing) {
  startWith("n = CreateTimedEvent(0.05, |hits = hits + 1|, False)\r\nRemoveTimedEvent 0\r\nRemoveTimedEvent 7");
  click(1);
  runEvents(250);
  EXPECT_EQ(var("hits"), 1);
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
}

TEST_F(TimedEventsTest, NumbersFollowEachOtherAndStartAgainAfterAFrameChange) {
  startWith("n = CreateTimedEvent(5, |hits = 1|, False)\r\nm = CreateTimedEvent(5, |hits = 1|, False)");
  click(1);
  EXPECT_EQ(var("n"), 1);
  EXPECT_EQ(var("m"), 2);
  run("RemoveTimedEvent 2\r\nn = CreateTimedEvent(5, \"hits = 1\", False)");
  EXPECT_EQ(var("n"), 3) << "a removed number is not given out again";
  game().OpenFrame("Garden", false, 0, 0);
  run("n = CreateTimedEvent(5, \"hits = 1\", False)");
  EXPECT_EQ(var("n"), 1);
}

TEST_F(TimedEventsTest, PauseKeepsTheEventsAndStartResumesWithAFullInterval) {
  startWith("n = CreateTimedEvent(0.4, |hits = hits + 1|, False)");
  click(1);
  runEvents(250);
  events().PauseTimedEvents();
  EXPECT_FALSE(game().TimedEvent[1].enabled());
  EXPECT_TRUE(events().TimedEventsTable()[1].active);
  runEvents(300);
  EXPECT_EQ(var("hits"), 0);
  events().StartTimedEvents();
  // The remaining 150 ms would have passed; a full interval has not.
  runEvents(250);
  EXPECT_EQ(var("hits"), 0);
  runEvents(400);
  EXPECT_EQ(var("hits"), 1);
}

TEST_F(TimedEventsTest, AFailingRunStopsARepeatingEventAfterOneMessage) {
  startWith("n = CreateTimedEvent(0.03, |hits = hits + 1 : hits = 1 / 0|, True)");
  click(1);
  runEvents(300);
  EXPECT_EQ(var("hits"), 1);
  EXPECT_EQ(messagesContaining(script::kRunFailedSentence), 1u) << allMessages().toStdString();
  EXPECT_FALSE(events().TimedEventsTable()[1].active);
  EXPECT_FALSE(game().TimedEvent[1].enabled());
}

TEST_F(TimedEventsTest, CodeWithASyntaxErrorIsReportedAndTheGameGoesOn) {
  startWith("n = CreateTimedEvent(0.03, |If hits Then|, True)\r\nm = CreateTimedEvent(0.05, |hits = 5|, False)");
  click(1);
  runEvents(300);
  EXPECT_GE(messagesContaining("Make sure that the global variables"), 1u) << allMessages().toStdString();
  EXPECT_EQ(var("hits"), 5);
}

TEST_F(TimedEventsTest, ThousandsOfEventsAreMadeAndDiscardedCleanly) {
  startWith("For i = 1 To 3000 : n = CreateTimedEvent(60, |hits = 1|, False) : Next");
  click(1);
  EXPECT_EQ(messagesContaining("Unable to create"), 3000u) << "60 s do not fit: each is reported";
  game().OpenFrame("Garden", false, 0, 0);
  dialogs().clear();
  run("For i = 1 To 3000 : n = CreateTimedEvent(30, \"hits = 1\", False) : Next");
  EXPECT_EQ(var("n"), 3000);
  EXPECT_EQ(boxCount(), 0u);
  game().OpenFrame("Hall", false, 0, 0);
  EXPECT_EQ(game().TimedEvent.UBound(), 0);
}

// A flood of repeating 1 ms events, on the virtual clock: each fires at most
// once per timer tick, a wait of 0.2 s ends after exactly 0.2 s of game time,
// and the events still run. (bench/game/timed_event_flood.cpp times 10,000.)
TEST_F(TimedEventsTest, AFloodOfOneMillisecondEventsFiresOncePerTickAndTimeMovesOn) {
  startWith("For i = 1 To 999 : m = CreateTimedEvent(0.001, |seen = 1|, True) : Next\r\n"
            "n = CreateTimedEvent(0.001, |hits = hits + 1|, True)");
  platform::Clock& clock = platform::Clock::instance();
  clock.useVirtualTime();
  click(1);
  EXPECT_EQ(var("n"), 1000);
  const qint64 start = clock.nsecs();
  startup::WaitSeconds(0.2, false);
  EXPECT_EQ((clock.nsecs() - start) / 1'000'000, 200);
  const int ticks = 200 / script::TimedEvents::kTimerTickMs;
  EXPECT_GE(var("hits"), ticks - 1);
  EXPECT_LE(var("hits"), ticks + 1);
  EXPECT_EQ(var("seen"), 1);
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  game().OpenFrame("Garden", false, 0, 0);
  clock.useRealTimeForTests();
}

// Answers a message box only after letting window events run for a while, as
// a player reading the box would.
class SlowReader : public platform::DialogService {
 public:
  explicit SlowReader(platform::RecordingDialogService& record) : record_(record) {}
  platform::MsgResult showMessage(const platform::MessageBoxRequest& request) override {
    if (!nested_) {
      nested_ = true;
      // The player reads for a quarter of a second of game time.
      platform::waitUntil(platform::Clock::instance().nsecs() + 250'000'000, [] { return true; });
      nested_ = false;
    }
    return record_.showMessage(request);
  }
  std::optional<QString> askText(const platform::InputBoxRequest& request) override { return record_.askText(request); }

 private:
  platform::RecordingDialogService& record_;
  bool nested_ = false;
};

class GameClockTimedEventsTest : public TimedEventsTest {
 protected:
  void SetUp() override {
    TimedEventsTest::SetUp();
    platform::Clock::instance().useVirtualTime();
  }
  void TearDown() override {
    TimedEventsTest::TearDown();
    platform::Clock::instance().useRealTimeForTests();
  }
};

TEST_F(GameClockTimedEventsTest, AnEventFiringWhileAScriptWaitsInAMessageBoxRunsOnceThatScriptHasEnded) {
  startWith("n = CreateTimedEvent(0.05, |hits = hits + 1|, True)");
  click(1);
  SlowReader reader(dialogs());
  platform::DialogService* previous = platform::installedDialogs();
  platform::setDialogs(&reader);
  run("MsgBox \"Read me\"\r\nseen = hits + 1");
  platform::setDialogs(previous);
  EXPECT_EQ(var("seen"), 1) << "the waiting script goes on, and no run came in between";
  EXPECT_EQ(messagesContaining(script::kResetFailedSentence), 0u) << allMessages().toStdString();
  EXPECT_TRUE(events().TimedEventsTable()[1].active);
  QCoreApplication::processEvents();
  EXPECT_EQ(var("hits"), 1) << "the event's missed runs are one, after the script";
}

}  // namespace
}  // namespace qm::testing
