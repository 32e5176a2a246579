#include "startup/Waiting.h"

#include <algorithm>

#include "platform/Clock.h"
#include "platform/WaitWhile.h"
#include "startup/Project.h"

namespace qm::startup {

void WaitSeconds(double seconds, bool noEvents) {
  if (!(seconds > 0)) return;
  // A monotonic clock: the wait neither ends early nor hangs when the time of
  // day passes midnight or is set. Whole milliseconds, as the wait always had.
  // Held to a year, so that no number a script passes overflows the clock.
  const qint64 totalMs = static_cast<qint64>(std::min(seconds, 365.0 * 86400.0) * 1000.0 + 0.5);
  const qint64 deadline = platform::Clock::instance().nsecs() + totalMs * 1'000'000;
  // Short naps keep the wait from spinning a processor at full load.
  platform::waitUntil(deadline, [] { return !GameStopped(); }, {noEvents ? 10 : 2, !noEvents});
}

}  // namespace qm::startup
