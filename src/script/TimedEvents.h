// Timed events: script code scheduled to run after a delay, once or every
// interval. Each event is one element of the game window's TimedEvent timer
// array plus one entry of TimedEventsTable holding its code.
//
// Events belong to the frame shown: opening a frame discards them all
// (ResetTimedEvents), and a new event only starts counting at the next
// StartTimedEvents, which normally follows the end of the script that created
// it. Element 0 of the array is the template and never runs code.
#pragma once

#include <QString>
#include <vector>

#include "vbscript/Value.h"

namespace qm::engine {
class Game;
}

namespace qm::script {

class TimedEvents {
 public:
  struct Entry {
    bool active = false;  // may still fire
    bool repeat = false;  // fire every interval instead of once
    QString code;
  };

  // The longest duration, in seconds, that is not silently refused.
  static constexpr double kLongestDuration = 65;
  // One tick of the system's timer (1/64 s, rounded up): the shortest interval
  // of a repeating event.
  static constexpr int kTimerTickMs = 16;

  explicit TimedEvents(engine::Game& game);

  // A new event (not counting yet) and its number; 0 when none was made. A
  // duration above 65 s makes none and says nothing; a duration whose
  // milliseconds do not fit in 16 bits, or that is negative or not a number,
  // is reported with the event number and makes none.
  int CreateTimedEvent(const vbs::Value& Duration, const QString& sCode, bool bRepeatForever);
  // Stops event Index for good; its number is not given out again before the
  // next reset. 0 and numbers above the highest do nothing.
  void RemoveTimedEvent(int Index);
  // Discards every event; numbering starts again at 1.
  void ResetTimedEvents();
  // Starts the counting of every active event that is not counting yet.
  void StartTimedEvents();
  // Stops all counting without changing the events; a later start resumes
  // the active ones from a full interval.
  void PauseTimedEvents();
  // The tick of element Index. While another script runs, the event's run
  // waits for that script's end (ScriptHost::runTick).
  void TimedEvent_Timer(int Index);

  const std::vector<Entry>& TimedEventsTable() const { return table_; }

 private:
  void switchOff(int Index);
  // Runs the code of event Index, when it is still active.
  void fire(int Index);
  engine::Game& game_;
  std::vector<Entry> table_;  // 0..n, parallel to the timer array
  std::vector<int> notCounting_;  // made since the last start
  bool paused_ = false;           // all stopped since the last start
  // Counts resets, so a run that outlives its frame does not touch the
  // events of the next one.
  unsigned generation_ = 0;
};

}  // namespace qm::script
