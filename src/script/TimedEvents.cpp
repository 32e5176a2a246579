#include "script/TimedEvents.h"

#include <algorithm>
#include <cmath>

#include "engine/Game.h"
#include "platform/VbError.h"
#include "logic/GameLogic.h"
#include "script/ScriptHost.h"
#include "script/ScriptValues.h"
#include "startup/ErrorReport.h"
#include "startup/Project.h"

namespace qm::script {

namespace {

// A timer interval is the duration in milliseconds as a 16-bit integer,
// rounded half to even like every integer conversion of the language: at
// most 32.767 seconds. A negative interval is an invalid timer property.
int intervalOf(double seconds) {
  const double ms = std::nearbyint(seconds * 1000.0);
  if (!std::isfinite(ms) || ms < -32768.0 || ms > 32767.0) throw VbError::overflow();
  if (ms < 0) throw VbError::of(380);
  return static_cast<int>(ms);
}

}  // namespace

TimedEvents::TimedEvents(engine::Game& game) : game_(game), table_(1) {}

int TimedEvents::CreateTimedEvent(const vbs::Value& Duration, const QString& sCode, bool bRepeatForever) {
  int n = 0;
  try {
    const double seconds = vbs::toDouble(Duration.deref());
    if (seconds > kLongestDuration) return 0;
    n = game_.TimedEvent.UBound() + 1;
    engine::TimerControl& timer = game_.TimedEvent.Load(n);
    // The table grows with the array, so a failure below leaves an entry that never runs.
    if (static_cast<int>(table_.size()) < n + 1) table_.resize(n + 1);
    table_[n] = Entry{};
    const int interval = intervalOf(seconds);
    // A repeating event fires at most once per tick of the system's timer:
    // thousands of 1 ms events must not leave the player no time for anything else.
    timer.setInterval(bRepeatForever && interval > 0 ? std::max(interval, kTimerTickMs) : interval);
    table_[n] = Entry{true, bRepeatForever, sCode};
    notCounting_.push_back(n);
    return n;
  } catch (...) {
    startup::ShowStandardErrorReport(QStringLiteral(" Unable to create the timed event #") + QString::number(n) +
                                     QStringLiteral(". ") + describeCurrentException());
    return 0;
  }
}

void TimedEvents::RemoveTimedEvent(int Index) {
  try {
    if (Index == 0 || Index > game_.TimedEvent.UBound()) return;
    // A negative number names no element: the array reports it.
    engine::TimerControl& timer = game_.TimedEvent[Index];
    table_.at(static_cast<size_t>(Index)).active = false;
    timer.setEnabled(false);
  } catch (...) {
    startup::ShowStandardErrorReport(QStringLiteral(" Unable to remove the timed event #") + QString::number(Index) +
                                     QStringLiteral(". ") + describeCurrentException());
  }
}

void TimedEvents::ResetTimedEvents() {
  ++generation_;
  table_.assign(1, Entry{});
  notCounting_.clear();
  paused_ = false;
  game_.TimedEvent.UnloadAll();
  engine::TimerControl& templ = game_.TimedEvent.templ();
  templ.setEnabled(false);
  templ.setInterval(0);
}

void TimedEvents::StartTimedEvents() {
  // Every script run ends here: only the events that are not counting yet are
  // looked at, so that thousands of events cost nothing per run.
  std::vector<int> starting;
  if (paused_) {
    starting = game_.TimedEvent.indices();
    paused_ = false;
  }
  starting.insert(starting.end(), notCounting_.begin(), notCounting_.end());
  notCounting_.clear();
  for (int i : starting) {
    if (i <= 0 || i >= static_cast<int>(table_.size()) || !table_[i].active) continue;
    engine::TimerControl* timer = game_.TimedEvent.item(i);
    if (timer && !timer->enabled()) timer->setEnabled(true);
  }
}

void TimedEvents::PauseTimedEvents() {
  for (int i : game_.TimedEvent.indices())
    if (engine::TimerControl* timer = game_.TimedEvent.item(i)) timer->setEnabled(false);
  paused_ = true;
}

void TimedEvents::switchOff(int Index) {
  table_[Index].active = false;
  if (engine::TimerControl* timer = game_.TimedEvent.item(Index)) {
    timer->setEnabled(false);
    timer->setInterval(0);
  }
}

void TimedEvents::TimedEvent_Timer(int Index) {
  if (startup::GameStopped()) return;
  if (Index <= 0 || Index >= static_cast<int>(table_.size())) return;
  if (!table_[Index].active || table_[Index].code.isEmpty()) return;
  // While another script runs the event waits for its end; the frame may have
  // changed by then, and its events with it.
  const unsigned generation = generation_;
  game_.scripts().runTick(QStringLiteral("TimedEvent%1").arg(Index), [this, Index, generation] {
    if (generation == generation_ && !startup::GameStopped()) fire(Index);
  });
}

void TimedEvents::fire(int Index) {
  if (Index <= 0 || Index >= static_cast<int>(table_.size())) return;
  const Entry entry = table_[Index];
  if (!entry.active || entry.code.isEmpty()) return;
  // A one-shot event is spent before its code runs: the code may open a frame,
  // wait, or let this timer tick again meanwhile.
  if (!entry.repeat) switchOff(Index);
  const unsigned generation = generation_;
  const bool ran = game_.logic().ExecuteVBScriptAndConsequences(entry.code, true) == ScriptResult::Ok;
  // A failing run stops the event, unless its frame is gone.
  if (!ran && generation == generation_ && Index < static_cast<int>(table_.size())) switchOff(Index);
}

}  // namespace qm::script
