#include "platform/GameTimer.h"

#include <algorithm>

namespace qm::platform {

GameTimer::GameTimer(QObject* parent) : QObject(parent) {
  // Games time events to the tick: a coarse timer may drift by 5 % of its interval.
  real_.setTimerType(Qt::PreciseTimer);
  connect(&real_, &QTimer::timeout, this, [this] { emit timeout(); });
}

GameTimer::~GameTimer() { Clock::instance().cancel(pending_); }

void GameTimer::setInterval(int ms) {
  intervalMs_ = std::max(ms, 0);
  if (isActive()) start(intervalMs_);
}

void GameTimer::start(int ms) {
  intervalMs_ = std::max(ms, 0);
  Clock& clock = Clock::instance();
  if (!clock.isVirtual()) {
    real_.setSingleShot(singleShot_);
    real_.start(intervalMs_);
    return;
  }
  clock.cancel(pending_);
  pending_ = 0;
  scheduleVirtual(clock.nsecs() + static_cast<qint64>(intervalMs_) * 1'000'000);
}

void GameTimer::stop() {
  real_.stop();
  Clock::instance().cancel(pending_);
  pending_ = 0;
}

bool GameTimer::isActive() const { return real_.isActive() || pending_ != 0; }

void GameTimer::scheduleVirtual(qint64 dueNs) {
  pending_ = Clock::instance().schedule(dueNs, [this, dueNs] { firedVirtual(dueNs); });
}

void GameTimer::firedVirtual(qint64 dueNs) {
  pending_ = 0;
  // A repeating timer is due again one interval after this timeout was due, so
  // ticks keep their pace however long the handler takes; ticks missed while
  // time passed without timers firing are skipped, as a window timer skips
  // them. An interval of 0 counts as one millisecond: time must move on.
  if (!singleShot_) {
    const qint64 interval = std::max<qint64>(intervalMs_, 1) * 1'000'000;
    const qint64 now = Clock::instance().nsecs();
    scheduleVirtual(dueNs + interval >= now ? dueNs + interval : now + interval);
  }
  emit timeout();
}

}  // namespace qm::platform
