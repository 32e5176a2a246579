// The one clock of the game: how much time has passed, and when game timers are
// due. It runs on real time, or, for walkthroughs at machine speed, on virtual
// time: then nothing moves by itself, and time passes only when a wait moves it
// on; every timer due on the way fires, in order, at its own time. The same steps
// then give the same results on every run, however busy the machine is.
#pragma once

#include <QtGlobal>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace qm::platform {

class Clock {
 public:
  static Clock& instance();

  // Switches to virtual time, starting where real time stands. Meant for the
  // start of a run, before any game timer starts; there is no way back.
  void useVirtualTime();
  bool isVirtual() const { return virtual_; }
  // Back to real time, dropping the virtual timers still waiting: for tests,
  // once every timer they started has stopped.
  void useRealTimeForTests();

  // Nanoseconds since the program started (or virtual ones); never goes back.
  qint64 nsecs() const;
  qint64 msecs() const { return nsecs() / 1'000'000; }

  // Virtual time only (ignored on real time): moves the clock on to `ns`, firing
  // every timer due until then, earliest first (timers due at the same time in
  // the order they were started). A timer a fired one starts that falls due
  // before `ns` fires too. Time never goes back: an earlier `ns` changes nothing.
  void advanceTo(qint64 ns);
  void advanceBy(qint64 ms) { advanceTo(nsecs() + ms * 1'000'000); }
  // Moves the clock on without firing anything, as real time passes while the
  // program is busy: what fell due fires at the next advanceTo.
  void passTo(qint64 ns) {
    if (virtual_) moveTo(ns);
  }

  // When the earliest virtual timer is due; nullopt when none is waiting.
  std::optional<qint64> nextDueNs() const;

  // Told the new time whenever virtual time moves (sound is mixed up to there).
  // Returns an id for removeAdvanceListener.
  int addAdvanceListener(std::function<void(qint64 ns)> listener);
  void removeAdvanceListener(int id);

  // ---- for GameTimer ----
  using TimerId = std::uint64_t;
  // Calls `fire` once when virtual time reaches `dueNs`. 0 on real time.
  TimerId schedule(qint64 dueNs, std::function<void()> fire);
  void cancel(TimerId id);

  Clock(const Clock&) = delete;
  Clock& operator=(const Clock&) = delete;

 private:
  Clock() = default;
  void moveTo(qint64 ns);

  struct Pending {
    TimerId id;
    qint64 dueNs;
    std::function<void()> fire;
  };
  bool virtual_ = false;
  qint64 virtualNs_ = 0;
  TimerId nextId_ = 1;
  std::vector<Pending> pending_;
  struct Listener {
    int id;
    std::function<void(qint64)> told;
  };
  std::vector<Listener> listeners_;
  int nextListener_ = 1;
};

// Measures a stretch of time on the game clock (virtual time when the clock is
// virtual), the way a stopwatch would.
class ElapsedClock {
 public:
  void start() { startNs_ = Clock::instance().nsecs(); }
  void restart() { start(); }
  bool isValid() const { return startNs_ >= 0; }
  qint64 nsecsElapsed() const { return isValid() ? Clock::instance().nsecs() - startNs_ : 0; }
  qint64 elapsed() const { return nsecsElapsed() / 1'000'000; }

 private:
  qint64 startNs_ = -1;
};

}  // namespace qm::platform
