// Timed events on time: 50 repeating one-second events, started 20 ms apart so
// that one fires every 20 ms (50 a second), run their script for 10 s. Prints
// how late each firing came after its due time; the target is every firing
// within one timer tick (15.6 ms, the usual tick of a desktop timer).
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <tuple>
#include <vector>

#include "BenchGame.h"
#include "logic/GameLogic.h"
#include "script/ScriptHost.h"
#include "script/TimedEvents.h"
#include "support/FrameRecords.h"
#include "support/GameFolderBuilder.h"
#include "support/VariablesRecords.h"

using namespace qm;
using namespace qm::testing;

int main(int argc, char** argv) {
  bench::BenchEnvironment env(argc, argv);
  auto& dialogs = env.dialogs;

  GameFolderBuilder folder;
  GeneralFields g = bench::hallGame();
  folder.general(g);
  folder.file("Config/Variables", variablesFileBytes({"ticks", "n"}));
  folder.file("Frames/Hall.fme", frameFileBytes({}));
  const auto window = bench::startGame(folder.root());
  engine::Game& game = *window;

  constexpr int kEvents = 50;
  constexpr double kTickMs = 15.6;
  constexpr qint64 kRunMs = 10000;
  QElapsedTimer clock;
  clock.start();
  std::vector<double> started(kEvents + 1, 0);
  std::vector<int> fired(kEvents + 1, 0);
  std::vector<double> lateness;
  // The event loop sleeps until the next timer is due, as the player's does.
  auto letEventsRun = [&](qint64 ms) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(ms), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
  };
  for (int k = 1; k <= kEvents; ++k) {
    std::ignore = game.logic().ExecuteVBScriptAndConsequences(QStringLiteral("n = CreateTimedEvent(1, \"ticks = ticks + 1\", True)"), true);
    started[k] = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    engine::TimerControl& timer = game.TimedEvent[k];
    auto run = timer.onTimer;
    timer.onTimer = [&, k, run] {
      const double now = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      ++fired[k];
      lateness.push_back(now - (started[k] + 1000.0 * fired[k]));
      run();
    };
    letEventsRun(20);
  }
  letEventsRun(kRunMs + 100);
  game.timedEvents().ResetTimedEvents();

  std::sort(lateness.begin(), lateness.end());
  const auto late = std::count_if(lateness.begin(), lateness.end(), [&](double l) { return l > kTickMs; });
  std::printf("%d repeating timed events of 1 s, one due every 20 ms, each running a script, for %lld s\n", kEvents,
              static_cast<long long>(kRunMs / 1000));
  std::printf("firings %zu; lateness median %.2f ms, p99 %.2f ms, max %.2f ms, min %.2f ms\n", lateness.size(),
              lateness[lateness.size() / 2], lateness[lateness.size() * 99 / 100], lateness.back(), lateness.front());
  std::printf("later than one tick (%.1f ms): %lld (target 0); ticks counted by the scripts: %d; messages: %zu\n",
              kTickMs, static_cast<long long>(late), game.logic().GetVariableValue("ticks"), dialogs->count());
  return 0;
}
