// Every wait of the player: window events run while a condition holds, and the
// thread naps between turns, so that no wait keeps a processor busy. On the
// virtual clock a nap sleeps not at all: it moves time on to the next due timer
// (or by the nap, when none is waiting), so a wait lasts only as long as the
// work done in it.
#pragma once

#include <QtGlobal>
#include <functional>

namespace qm::platform {

struct WaitTurns {
  int napMs = 5;          // the pause between turns
  bool runEvents = true;  // false: the window stays frozen (only the clock moves)
};

// Waits while busy() answers true; busy() is asked before the first turn and
// again after the events of every turn (so it may also do the turn's work).
void waitWhile(const std::function<bool()>& busy, WaitTurns turns = {});

// Waits until the clock reaches deadlineNs (Clock::nsecs), or earlier when
// busy() answers false. Never naps past the deadline.
void waitUntil(qint64 deadlineNs, const std::function<bool()>& busy, WaitTurns turns = {});

// One pause of `ms` without running events: a real sleep, or on the virtual
// clock the time moved on by `ms` (firing the timers due meanwhile).
void napFor(int ms);

}  // namespace qm::platform
