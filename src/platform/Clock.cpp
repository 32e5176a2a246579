#include "platform/Clock.h"

#include <QElapsedTimer>
#include <algorithm>
#include <unordered_set>

namespace qm::platform {

namespace {
// The pending timers form a heap, earliest first (among equals the one started
// first), so that thousands of timers cost little per timeout. A cancelled
// timer stays in the heap until it comes to the top, and is dropped then.
std::unordered_set<Clock::TimerId> gLive;       // scheduled and not yet fired or cancelled
std::unordered_set<Clock::TimerId> gCancelled;  // cancelled while in the heap

template <class P>
bool later(const P& a, const P& b) {
  return a.dueNs > b.dueNs || (a.dueNs == b.dueNs && a.id > b.id);
}

// Keeps the earliest timer of the heap a live one.
template <class Heap>
void dropCancelled(Heap& pending) {
  using P = typename Heap::value_type;
  while (!pending.empty() && gCancelled.erase(pending.front().id)) {
    std::pop_heap(pending.begin(), pending.end(), [](const P& a, const P& b) { return later(a, b); });
    pending.pop_back();
  }
}

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
  gLive.clear();
  gCancelled.clear();
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
  const auto order = [](const Pending& a, const Pending& b) { return later(a, b); };
  while (!pending_.empty() && pending_.front().dueNs <= ns) {
    std::pop_heap(pending_.begin(), pending_.end(), order);
    Pending due = std::move(pending_.back());
    pending_.pop_back();
    dropCancelled(pending_);
    gLive.erase(due.id);
    moveTo(due.dueNs);
    // Taken out before it fires: the handler may start, stop or delete timers.
    if (due.fire) due.fire();
  }
  moveTo(ns);
}

std::optional<qint64> Clock::nextDueNs() const {
  if (pending_.empty()) return std::nullopt;
  return pending_.front().dueNs;
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
  std::push_heap(pending_.begin(), pending_.end(), [](const Pending& a, const Pending& b) { return later(a, b); });
  gLive.insert(id);
  return id;
}

void Clock::cancel(TimerId id) {
  if (id == 0 || !gLive.erase(id)) return;
  gCancelled.insert(id);
  dropCancelled(pending_);
}

}  // namespace qm::platform
