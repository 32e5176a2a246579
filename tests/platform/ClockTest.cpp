// The game clock on virtual time: timers fire in order at their own times,
// waits move time instead of sleeping, and nothing depends on the machine.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QStringList>
#include <memory>

#include "platform/Clock.h"
#include "platform/GameTimer.h"
#include "platform/WaitWhile.h"
#include "support/ProjectTest.h"

namespace qm::platform {
namespace {

constexpr qint64 kMs = 1'000'000;

class VirtualClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ensureQtApplication();
    clock().useVirtualTime();
    start_ = clock().nsecs();
  }
  void TearDown() override { clock().useRealTimeForTests(); }
  static Clock& clock() { return Clock::instance(); }
  // Milliseconds of virtual time since the test began.
  qint64 ms() const { return (clock().nsecs() - start_) / kMs; }
  qint64 start_ = 0;
};

TEST_F(VirtualClockTest, TimeStandsStillUntilMovedAndNeverGoesBack) {
  const qint64 before = clock().nsecs();
  QElapsedTimer real;
  real.start();
  while (real.elapsed() < 20) {
  }
  EXPECT_EQ(clock().nsecs(), before);
  clock().advanceBy(250);
  EXPECT_EQ(ms(), 250);
  clock().advanceTo(clock().nsecs() - 100 * kMs);
  EXPECT_EQ(ms(), 250);
}

TEST_F(VirtualClockTest, TimersFireInDueOrderEachAtItsOwnTime) {
  QStringList log;
  GameTimer slow, fast, once;
  once.setSingleShot(true);
  QObject::connect(&slow, &GameTimer::timeout, [&] { log << QStringLiteral("slow@%1").arg(ms()); });
  QObject::connect(&fast, &GameTimer::timeout, [&] { log << QStringLiteral("fast@%1").arg(ms()); });
  QObject::connect(&once, &GameTimer::timeout, [&] { log << QStringLiteral("once@%1").arg(ms()); });
  slow.start(100);
  fast.start(40);
  once.start(50);
  clock().advanceBy(130);
  EXPECT_EQ(log, QStringList({"fast@40", "once@50", "fast@80", "slow@100", "fast@120"}));
  EXPECT_FALSE(once.isActive());
  EXPECT_TRUE(fast.isActive());
  EXPECT_EQ(ms(), 130);
}

TEST_F(VirtualClockTest, TimersDueTogetherFireInTheOrderTheyStarted) {
  QStringList log;
  GameTimer b, a;
  QObject::connect(&a, &GameTimer::timeout, [&] { log << "a"; });
  QObject::connect(&b, &GameTimer::timeout, [&] { log << "b"; });
  b.start(30);
  a.start(30);
  clock().advanceBy(60);
  EXPECT_EQ(log, QStringList({"b", "a", "b", "a"}));
}

TEST_F(VirtualClockTest, ARepeatingTimerKeepsItsPaceWhateverItsHandlerDoes) {
  QList<qint64> ticks;
  GameTimer t;
  QObject::connect(&t, &GameTimer::timeout, [&] {
    ticks << ms();
    clock().advanceBy(7);  // a handler that itself waits a little
  });
  t.start(25);
  clock().advanceBy(100);
  EXPECT_EQ(ticks, QList<qint64>({25, 50, 75, 100}));
}

TEST_F(VirtualClockTest, AHandlerMayStopRestartOrDeleteTimers) {
  QStringList log;
  auto victim = std::make_unique<GameTimer>();
  GameTimer killer, restarted;
  QObject::connect(victim.get(), &GameTimer::timeout, [&] { log << "victim"; });
  QObject::connect(&killer, &GameTimer::timeout, [&] {
    log << QStringLiteral("killer@%1").arg(ms());
    victim.reset();
    killer.stop();
    restarted.start(5);  // due before the end of the advance: fires in it
  });
  QObject::connect(&restarted, &GameTimer::timeout, [&] {
    log << QStringLiteral("restarted@%1").arg(ms());
    restarted.stop();
  });
  killer.start(10);
  victim->start(20);
  clock().advanceBy(100);
  EXPECT_EQ(log, QStringList({"killer@10", "restarted@15"}));
  EXPECT_FALSE(restarted.isActive());
  EXPECT_FALSE(clock().nextDueNs().has_value());
}

TEST_F(VirtualClockTest, ChangingTheIntervalOfARunningTimerRestartsItFromNow) {
  QList<qint64> ticks;
  GameTimer t;
  QObject::connect(&t, &GameTimer::timeout, [&] { ticks << ms(); });
  t.start(100);
  clock().advanceBy(30);
  t.setInterval(50);
  clock().advanceBy(100);
  EXPECT_EQ(ticks, QList<qint64>({80, 130}));
}

TEST_F(VirtualClockTest, AWaitJumpsFromTimerToTimerAndEndsOnTheDot) {
  int ticks = 0;
  GameTimer t;
  QObject::connect(&t, &GameTimer::timeout, [&] { ++ticks; });
  t.start(300);
  int turns = 0;
  QElapsedTimer real;
  real.start();
  waitUntil(clock().nsecs() + 10'000 * kMs, [&] {
    ++turns;
    return true;
  });
  EXPECT_EQ(ms(), 10'000);
  EXPECT_EQ(ticks, 33);
  // A turn (two questions) per timeout and one to end: not one per nap.
  EXPECT_LE(turns, 2 * 35);
  EXPECT_LT(real.elapsed(), 2000);
}

TEST_F(VirtualClockTest, AWaitWhileEndsAtTheTimeoutThatChangesItsCondition) {
  bool done = false;
  GameTimer t;
  t.setSingleShot(true);
  QObject::connect(&t, &GameTimer::timeout, [&] { done = true; });
  t.start(1234);
  waitWhile([&] { return !done; });
  EXPECT_EQ(ms(), 1234);
}

TEST_F(VirtualClockTest, AWaitWithNothingDueStillMovesOnByItsNaps) {
  waitWhile([&] { return ms() < 12; }, {.napMs = 5});
  EXPECT_EQ(ms(), 15);
}

TEST_F(VirtualClockTest, ANapMovesTimeAndFiresWhatFallsDue) {
  int ticks = 0;
  GameTimer t;
  QObject::connect(&t, &GameTimer::timeout, [&] { ++ticks; });
  t.start(4);
  napFor(10);
  EXPECT_EQ(ms(), 10);
  EXPECT_EQ(ticks, 2);
}

TEST_F(VirtualClockTest, ListenersHearEveryMoveInOrder) {
  QList<qint64> heard;
  const int id = clock().addAdvanceListener([&](qint64 ns) { heard << (ns - start_) / kMs; });
  GameTimer t;
  t.setSingleShot(true);
  t.start(20);
  clock().advanceBy(50);
  clock().removeAdvanceListener(id);
  clock().advanceBy(50);
  EXPECT_EQ(heard, QList<qint64>({20, 50}));
}

TEST(RealClock, TimersAndWaitsKeepRealTime) {
  testing::ensureQtApplication();
  ASSERT_FALSE(Clock::instance().isVirtual());
  int ticks = 0;
  GameTimer t;
  QObject::connect(&t, &GameTimer::timeout, [&] { ++ticks; });
  t.start(10);
  QElapsedTimer real;
  real.start();
  const qint64 until = Clock::instance().nsecs() + 120 * kMs;
  waitUntil(until, [] { return true; });
  EXPECT_GE(real.elapsed(), 120);
  EXPECT_GE(Clock::instance().nsecs(), until);
  EXPECT_GE(ticks, 3);
  EXPECT_FALSE(Clock::instance().nextDueNs().has_value());  // real timers are Qt's
}

}  // namespace
}  // namespace qm::platform
