// The time limit of running scripts, as hosts and long-running built-ins see it.
//
// A script's time limit counts everything it does, built-ins and object
// methods included; only the time a player spends answering a box or window
// and a host's deliberate waits are left out. Both apply to the scripts
// running on the calling thread.
#pragma once

#include <chrono>

namespace qm::vbs {

// While one lives, time does not count towards the limit of the scripts
// running on this thread (message and input boxes, modal windows, waits).
// Nested pauses count once.
class PauseTimeLimit {
 public:
  PauseTimeLimit() noexcept;
  ~PauseTimeLimit();
  PauseTimeLimit(const PauseTimeLimit&) = delete;
  PauseTimeLimit& operator=(const PauseTimeLimit&) = delete;

 private:
  std::chrono::steady_clock::time_point start_;
  bool outermost_;
};

// Raises the time-out error (18) when the script running on this thread is
// past its limit. Long loops inside built-ins call it now and then.
void checkTimeLimit();

}  // namespace qm::vbs
