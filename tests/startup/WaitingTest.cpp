#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

#include "platform/Clock.h"
#include "platform/GameTimer.h"
#include "startup/Project.h"
#include "startup/Waiting.h"
#include "support/ProjectTest.h"

using namespace qm::startup;

namespace {
class WaitingTest : public qm::testing::ProjectTest {};
}  // namespace

TEST_F(WaitingTest, WaitsAtLeastTheTimeAndLetsEventsRun) {
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(10);
  QElapsedTimer clock;
  clock.start();
  WaitSeconds(0.2, false);
  EXPECT_GE(clock.elapsed(), 200);
  EXPECT_LT(clock.elapsed(), 2000);
  EXPECT_GE(ticks, 5);
}

TEST_F(WaitingTest, NoEventsMeansNoHandlerRuns) {
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(5);
  WaitSeconds(0.1, true);
  EXPECT_EQ(ticks, 0);
}

TEST_F(WaitingTest, StoppingTheGameEndsTheWait) {
  QTimer::singleShot(50, [] { SetGameStopped(true); });
  QElapsedTimer clock;
  clock.start();
  WaitSeconds(10, false);
  EXPECT_LT(clock.elapsed(), 2000);
}

TEST_F(WaitingTest, NothingToWaitFor) {
  QElapsedTimer clock;
  clock.start();
  WaitSeconds(0, false);
  WaitSeconds(-5, false);
  SetGameStopped(true);
  WaitSeconds(10, true);
  EXPECT_LT(clock.elapsed(), 500);
}

// On the virtual clock (walkthroughs at machine speed) a wait takes game time,
// exactly, and almost no real time.
namespace {
class VirtualWaitingTest : public WaitingTest {
 protected:
  void SetUp() override {
    WaitingTest::SetUp();
    clock().useVirtualTime();
    start_ = clock().nsecs();
  }
  void TearDown() override {
    clock().useRealTimeForTests();
    WaitingTest::TearDown();
  }
  static qm::platform::Clock& clock() { return qm::platform::Clock::instance(); }
  qint64 ms() const { return (clock().nsecs() - start_) / 1'000'000; }
  qint64 start_ = 0;
};
}  // namespace

TEST_F(VirtualWaitingTest, AWaitTakesExactlyItsGameTimeAndFiresEveryTickOnTheWay) {
  int ticks = 0;
  qm::platform::GameTimer timer;
  QObject::connect(&timer, &qm::platform::GameTimer::timeout, [&] { ++ticks; });
  timer.start(100);
  QElapsedTimer real;
  real.start();
  WaitSeconds(2.5, false);
  EXPECT_EQ(ms(), 2500);
  EXPECT_EQ(ticks, 25);
  EXPECT_LT(real.elapsed(), 1000);
}

TEST_F(VirtualWaitingTest, AFrozenWaitFiresNothingAndMissedTicksAreSkipped) {
  int ticks = 0;
  qm::platform::GameTimer timer;
  QObject::connect(&timer, &qm::platform::GameTimer::timeout, [&] { ++ticks; });
  timer.start(10);
  WaitSeconds(0.1, true);
  EXPECT_EQ(ms(), 100);
  EXPECT_EQ(ticks, 0);
  // Afterwards the overdue tick comes once, and the next one an interval later.
  clock().advanceBy(5);
  EXPECT_EQ(ticks, 1);
  clock().advanceBy(10);
  EXPECT_EQ(ticks, 2);
}

TEST_F(VirtualWaitingTest, StoppingTheGameEndsTheWaitAtThatMoment) {
  qm::platform::GameTimer stopper;
  stopper.setSingleShot(true);
  QObject::connect(&stopper, &qm::platform::GameTimer::timeout, [] { SetGameStopped(true); });
  stopper.start(730);
  WaitSeconds(10, false);
  EXPECT_EQ(ms(), 730);
}
