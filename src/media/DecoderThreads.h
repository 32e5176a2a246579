// The threads that players decode on. A player's decoding runs as one long job;
// when it ends (the player was unloaded or its file replaced) the thread waits
// for the next job instead of ending, so that loading seven new sounds starts no
// threads and nobody waits for an old decoder to finish: it finishes on its own.
#pragma once

#include <cstddef>
#include <functional>

namespace qm::media {

class DecoderThreads {
 public:
  // Runs `job` on an idle thread, or on a new one when none is idle. Never waits.
  static void run(std::function<void()> job);
  // Threads started so far, and those waiting for a job now (for tests and benchmarks).
  static std::size_t started();
  static std::size_t idle();
};

}  // namespace qm::media
