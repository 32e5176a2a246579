// A flood of timed events: a script makes 10,000 repeating events of 1 ms (the
// most a game can make), each running a one-line script. For 5 s of real time
// the benchmark asks the event loop every 50 ms to handle something (as a
// click would be) and prints how long each waited, and how often the events
// fired. Targets: every wait under 100 ms; each event at most once per timer
// tick (16 ms).
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

  GameFolderBuilder folder;
  GeneralFields g = bench::hallGame();
  folder.general(g);
  folder.file("Config/Variables", variablesFileBytes({"n", "seen"}));
  folder.file("Frames/Hall.fme", frameFileBytes({}));
  const auto window = bench::startGame(folder.root());
  engine::Game& game = *window;

  constexpr int kEvents = 10000;
  constexpr qint64 kRunMs = 5000;
  std::ignore = game.logic().ExecuteVBScriptAndConsequences(
      QStringLiteral("For i = 1 To 10000 : n = CreateTimedEvent(0.001, \"seen = 1\", True) : Next"), true);
  long long fired = 0;
  for (int k = 1; k <= kEvents; ++k) {
    engine::TimerControl& timer = game.TimedEvent[k];
    auto run = timer.onTimer;
    timer.onTimer = [&fired, run] {
      ++fired;
      run();
    };
  }

  QElapsedTimer clock;
  clock.start();
  std::vector<double> waits;
  QTimer asker;
  asker.setTimerType(Qt::PreciseTimer);
  QObject::connect(&asker, &QTimer::timeout, [&] {
    const qint64 asked = clock.nsecsElapsed();
    QTimer::singleShot(0, [&, asked] { waits.push_back(static_cast<double>(clock.nsecsElapsed() - asked) / 1e6); });
  });
  asker.start(50);
  QEventLoop loop;
  QTimer::singleShot(static_cast<int>(kRunMs), Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
  asker.stop();
  const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
  game.timedEvents().ResetTimedEvents();

  std::sort(waits.begin(), waits.end());
  if (waits.empty()) waits.push_back(seconds * 1000.0);
  const auto slow = std::count_if(waits.begin(), waits.end(), [](double w) { return w > 100.0; });
  std::printf("%d repeating timed events of 1 ms for %.1f s\n", kEvents, seconds);
  std::printf("firings %lld (%.1f per event per second; one per 16 ms tick is %.1f)\n", fired,
              static_cast<double>(fired) / kEvents / seconds, 1000.0 / script::TimedEvents::kTimerTickMs);
  std::printf("one pass over all events: %.0f ms (a click waits for it; target under 100 ms)\n",
              fired > 0 ? seconds * 1000.0 * kEvents / static_cast<double>(fired) : seconds * 1000.0);
  std::printf("event loop asked %zu times in %.1f s (every 50 ms asked), median wait %.1f ms, max %.1f ms, "
              "over 100 ms: %lld (target 0)\n",
              waits.size(), seconds, waits[waits.size() / 2], waits.back(), static_cast<long long>(slow));
  return 0;
}
