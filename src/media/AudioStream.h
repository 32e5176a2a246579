// One player's sound on its way to the mixer. A decoder thread writes interleaved
// stereo float samples at the output rate into a ring; the mixer drains it while the
// player is playing. Alongside the samples the ring keeps the media time at which
// each written block starts, so the position heard so far is known exactly, also
// across loops and seeks (each run of samples carries a serial number).
//
// A seek empties the ring at once from the player's side and opens a new epoch:
// whatever the decoder still writes for an earlier epoch is thrown away, so the
// player never has to wait for the decoder to take a seek.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace qm::media {

// Where playback stands, as the mixer has consumed it.
struct StreamClock {
  std::uint32_t serial = 0;  // which run (load, seek or loop) the position belongs to
  double mediaTime = 0.0;    // seconds into the media
};

class AudioStream {
 public:
  explicit AudioStream(int capacityFrames);

  // ---- decoder side ----
  int freeFrames() const;
  // Appends `frames` stereo frames; `mediaTime` is the media time of the first one and
  // `secondsPerFrame` how much media time one output frame covers (1/44100 times the rate).
  // Samples written for an epoch other than the current one are dropped.
  void write(const float* samples, int frames, double mediaTime, double secondsPerFrame, std::uint32_t serial,
             std::uint64_t epoch);
  // The decoder has written the last sample of the media (for the last loop).
  void markEnd(std::uint64_t epoch);
  // Takes the end mark back (more runs were asked for) unless the end was already heard.
  bool reopenEnd(std::uint64_t epoch);
  // Waits until `frames` fit, a flush happens, or the timeout passes. True when they fit.
  bool waitForSpace(int frames, int timeoutMs);
  // Wakes a decoder waiting in waitForSpace (commands arrived).
  void wakeProducer();
  // Raised by flush(); the decoder reads and clears it to learn that its queue was emptied.
  bool takeFlushed();

  // ---- mixer side ----
  // Adds this stream's playing samples into `mix`, scaled by the volume (ramped over the
  // block when it changed). When the decoder is behind, the missing part stays silent,
  // unless `waitForDecoder` (faster-than-real-time rendering), in which case it waits for it.
  void mixInto(float* mix, int frames, bool waitForDecoder);

  // ---- player side ----
  void setPlaying(bool playing);
  bool isPlaying() const { return playing_.load(std::memory_order_acquire); }
  // True once the mixer has played the last sample (the sound was heard to its end).
  bool isFinished() const { return finished_.load(std::memory_order_acquire); }
  void setGain(float gain) { gain_.store(gain, std::memory_order_relaxed); }
  // Drops everything queued and the end mark, and starts `epoch` at `clock`: the
  // decoder starts a new run there, and what it writes for earlier epochs is dropped.
  void restart(std::uint64_t epoch, StreamClock clock);
  StreamClock clock() const;
  bool endMarked() const;
  int queuedFrames() const;

  // Time at which the first non-silent sample after the last setPlaying(true) was mixed;
  // zero when none yet. For measuring start latency.
  std::chrono::steady_clock::time_point firstSoundTime() const;

 private:
  struct Marker {
    std::uint64_t startFrame;  // total frames written before this block
    double mediaTime;
    double secondsPerFrame;
    std::uint32_t serial;
  };

  int capacity_;
  std::unique_ptr<float[]> ring_;
  mutable std::mutex mutex_;
  std::condition_variable spaceCv_;
  std::condition_variable dataCv_;
  std::uint64_t written_ = 0;   // frames ever written (since the last flush)
  std::uint64_t consumed_ = 0;  // frames ever consumed (since the last flush)
  std::deque<Marker> markers_;
  bool endMarked_ = false;
  bool flushed_ = false;
  std::uint64_t epoch_ = 0;
  StreamClock clock_;

  std::atomic<bool> playing_{false};
  std::atomic<bool> finished_{false};
  std::atomic<float> gain_{1.0f};
  float appliedGain_ = -1.0f;  // mixer thread only; <0 = take the target at once
  std::chrono::steady_clock::time_point firstSound_{};
  bool waitingForFirstSound_ = false;
};

}  // namespace qm::media
