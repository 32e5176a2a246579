#include "platform/Clock.h"

#include <QElapsedTimer>
#include <algorithm>

namespace qm::platform {

namespace {
const QElapsedTimer& realClock() {
  static const QElapsedTimer started = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  return started;
}
}  // namespace

Clock& Clock::instance() {
  static Clock clock;
  return clock;
}

void Clock::useVirtualTime() {
  if (virtual_) return;
  virtualNs_ = realClock().nsecsElapsed();
  virtual_ = true;
}

void Clock::useRealTimeForTests() {
  virtual_ = false;
  pending_.clear();
  listeners_.clear();
}

qint64 Clock::nsecs() const { return virtual_ ? virtualNs_ : realClock().nsecsElapsed(); }

void Clock::moveTo(qint64 ns) {
  if (ns <= virtualNs_) return;
  virtualNs_ = ns;
  // A listener may add or remove listeners: walk a copy.
  const auto listeners = listeners_;
  for (const auto& l : listeners) l.told(ns);
}

void Clock::advanceTo(qint64 ns) {
  if (!virtual_) return;
  for (;;) {
    // The earliest due timer; among equals the one started first (ids grow).
    auto earliest = pending_.end();
    for (auto it = pending_.begin(); it != pending_.end(); ++it) {
      if (it->dueNs > ns) continue;
      if (earliest == pending_.end() || it->dueNs < earliest->dueNs ||
          (it->dueNs == earliest->dueNs && it->id < earliest->id))
        earliest = it;
    }
    if (earliest == pending_.end()) break;
    moveTo(earliest->dueNs);
    // Taken out before it fires: the handler may start, stop or delete timers.
    const std::function<void()> fire = std::move(earliest->fire);
    pending_.erase(earliest);
    if (fire) fire();
  }
  moveTo(ns);
}

std::optional<qint64> Clock::nextDueNs() const {
  std::optional<qint64> due;
  for (const auto& p : pending_)
    if (!due || p.dueNs < *due) due = p.dueNs;
  return due;
}

int Clock::addAdvanceListener(std::function<void(qint64 ns)> listener) {
  const int id = nextListener_++;
  listeners_.push_back({id, std::move(listener)});
  return id;
}

void Clock::removeAdvanceListener(int id) {
  listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(), [id](const Listener& l) { return l.id == id; }),
                   listeners_.end());
}

Clock::TimerId Clock::schedule(qint64 dueNs, std::function<void()> fire) {
  if (!virtual_) return 0;
  const TimerId id = nextId_++;
  pending_.push_back({id, std::max(dueNs, virtualNs_), std::move(fire)});
  return id;
}

void Clock::cancel(TimerId id) {
  if (id == 0) return;
  pending_.erase(std::remove_if(pending_.begin(), pending_.end(), [id](const Pending& p) { return p.id == id; }),
                 pending_.end());
}

}  // namespace qm::platform
