#include "startup/Waiting.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>

#include "startup/Project.h"

namespace qm::startup {

void WaitSeconds(double seconds, bool noEvents) {
  // A monotonic clock: the wait neither ends early nor hangs when the time of
  // day passes midnight or is set.
  QElapsedTimer clock;
  clock.start();
  const qint64 totalMs = seconds > 0 ? static_cast<qint64>(seconds * 1000.0 + 0.5) : 0;
  while (clock.elapsed() < totalMs && !GameStopped()) {
    if (!noEvents && QCoreApplication::instance()) QCoreApplication::processEvents();
    if (GameStopped()) break;
    const qint64 left = totalMs - clock.elapsed();
    // Short naps keep the wait from spinning a processor at full load.
    if (left > 0) QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, noEvents ? 10 : 2)));
  }
}

}  // namespace qm::startup
