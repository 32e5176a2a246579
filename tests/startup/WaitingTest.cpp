#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

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
