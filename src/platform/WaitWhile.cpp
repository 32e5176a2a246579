#include "platform/WaitWhile.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <optional>

#include "platform/Clock.h"

namespace qm::platform {

namespace {

constexpr qint64 kNsPerMs = 1'000'000;

void runEvents(const WaitTurns& turns) {
  if (turns.runEvents && QCoreApplication::instance()) QCoreApplication::processEvents();
}

// One nap, never past `deadline` (when there is one).
void nap(const WaitTurns& turns, std::optional<qint64> deadline) {
  Clock& clock = Clock::instance();
  const qint64 now = clock.nsecs();
  const qint64 napNs = std::max(turns.napMs, 1) * kNsPerMs;
  if (!clock.isVirtual()) {
    qint64 ns = napNs;
    if (deadline) ns = std::min(ns, *deadline - now);
    // Rounded up: a nap of a part of a millisecond would turn into a spin.
    if (ns > 0) QThread::msleep(static_cast<unsigned long>((ns + kNsPerMs - 1) / kNsPerMs));
    return;
  }
  // Nothing can change before the next timer is due: go straight there.
  qint64 target = clock.nextDueNs().value_or(now + napNs);
  if (deadline) target = std::min(target, *deadline);
  if (!turns.runEvents) {
    // A frozen window: time passes but no timer fires (it would need events).
    clock.passTo(deadline.value_or(now + napNs));
    return;
  }
  clock.advanceTo(std::max(target, now));
}

}  // namespace

void waitWhile(const std::function<bool()>& busy, WaitTurns turns) {
  while (busy()) {
    runEvents(turns);
    if (!busy()) return;
    nap(turns, std::nullopt);
  }
}

void waitUntil(qint64 deadlineNs, const std::function<bool()>& busy, WaitTurns turns) {
  Clock& clock = Clock::instance();
  while (clock.nsecs() < deadlineNs && busy()) {
    runEvents(turns);
    if (!busy() || clock.nsecs() >= deadlineNs) return;
    nap(turns, deadlineNs);
  }
}

void napFor(int ms) {
  Clock& clock = Clock::instance();
  if (ms <= 0) return;
  if (clock.isVirtual()) clock.advanceBy(ms);
  else QThread::msleep(static_cast<unsigned long>(ms));
}

}  // namespace qm::platform
