#include "media/AudioStream.h"

#include <algorithm>
#include <cmath>

#include "media/AudioFormat.h"

namespace qm::media {

// The ring is left uninitialised: only what the decoder wrote is ever read, and so
// the decoder's thread, not the player's, touches its memory first.
AudioStream::AudioStream(int capacityFrames)
    : capacity_(std::max(capacityFrames, 1024)), ring_(new float[static_cast<size_t>(capacity_) * kOutputChannels]) {}

int AudioStream::freeFrames() const {
  std::lock_guard lock(mutex_);
  return capacity_ - static_cast<int>(written_ - consumed_);
}

int AudioStream::queuedFrames() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(written_ - consumed_);
}

void AudioStream::write(const float* samples, int frames, double mediaTime, double secondsPerFrame,
                        std::uint32_t serial, std::uint64_t epoch) {
  if (frames <= 0) return;
  std::lock_guard lock(mutex_);
  if (epoch != epoch_) return;  // decoded before a seek the player has made since
  const int room = capacity_ - static_cast<int>(written_ - consumed_);
  frames = std::min(frames, room);
  if (frames <= 0) return;
  markers_.push_back(Marker{written_, mediaTime, secondsPerFrame, serial});
  size_t pos = static_cast<size_t>(written_ % static_cast<std::uint64_t>(capacity_));
  int left = frames;
  const float* src = samples;
  while (left > 0) {
    const int chunk = std::min(left, capacity_ - static_cast<int>(pos));
    std::copy(src, src + static_cast<size_t>(chunk) * kOutputChannels, ring_.get() + pos * kOutputChannels);
    src += static_cast<size_t>(chunk) * kOutputChannels;
    left -= chunk;
    pos = 0;
  }
  written_ += static_cast<std::uint64_t>(frames);
  dataCv_.notify_all();
}

void AudioStream::markEnd(std::uint64_t epoch) {
  std::lock_guard lock(mutex_);
  if (epoch != epoch_) return;
  endMarked_ = true;
  dataCv_.notify_all();
}

bool AudioStream::reopenEnd(std::uint64_t epoch) {
  std::lock_guard lock(mutex_);
  if (epoch != epoch_) return false;
  if (finished_.load(std::memory_order_acquire)) return false;
  endMarked_ = false;
  return true;
}

bool AudioStream::endMarked() const {
  std::lock_guard lock(mutex_);
  return endMarked_;
}

bool AudioStream::waitForSpace(int frames, int timeoutMs) {
  std::unique_lock lock(mutex_);
  auto fits = [&] { return flushed_ || capacity_ - static_cast<int>(written_ - consumed_) >= frames; };
  spaceCv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), fits);
  return capacity_ - static_cast<int>(written_ - consumed_) >= frames;
}

void AudioStream::wakeProducer() {
  std::lock_guard lock(mutex_);
  spaceCv_.notify_all();
}

bool AudioStream::takeFlushed() {
  std::lock_guard lock(mutex_);
  const bool was = flushed_;
  flushed_ = false;
  return was;
}

void AudioStream::restart(std::uint64_t epoch, StreamClock clock) {
  std::lock_guard lock(mutex_);
  epoch_ = epoch;
  clock_ = clock;
  written_ = consumed_ = 0;
  markers_.clear();
  endMarked_ = false;
  flushed_ = true;
  finished_.store(false, std::memory_order_release);
  spaceCv_.notify_all();
}

StreamClock AudioStream::clock() const {
  std::lock_guard lock(mutex_);
  return clock_;
}

void AudioStream::setPlaying(bool playing) {
  std::lock_guard lock(mutex_);
  if (playing) {
    finished_.store(false, std::memory_order_release);
    waitingForFirstSound_ = true;
    firstSound_ = {};
  }
  playing_.store(playing, std::memory_order_release);
  spaceCv_.notify_all();
}

std::chrono::steady_clock::time_point AudioStream::firstSoundTime() const {
  std::lock_guard lock(mutex_);
  return firstSound_;
}

void AudioStream::mixInto(float* mix, int frames, bool waitForDecoder) {
  if (!playing_.load(std::memory_order_acquire)) return;
  std::unique_lock lock(mutex_);
  if (waitForDecoder) {
    // Faster than real time: never play a gap the decoder would have filled.
    dataCv_.wait_for(lock, std::chrono::seconds(5), [&] {
      return endMarked_ || static_cast<int>(written_ - consumed_) >= frames || !playing_.load();
    });
  }
  if (!playing_.load(std::memory_order_acquire)) return;

  const int available = static_cast<int>(written_ - consumed_);
  const int n = std::min(frames, available);
  // A volume change glides over a few milliseconds instead of clicking.
  constexpr int kRampFrames = 256;
  const float target = gain_.load(std::memory_order_relaxed);
  float g = appliedGain_ < 0.0f ? target : appliedGain_;
  const int rampFrames = std::min(n, kRampFrames);
  const float step = rampFrames > 0 ? (target - g) / static_cast<float>(rampFrames) : 0.0f;
  size_t pos = static_cast<size_t>(consumed_ % static_cast<std::uint64_t>(capacity_));
  bool heard = false;
  for (int i = 0; i < n; ++i) {
    if (i < rampFrames) g += step;
    else g = target;
    const float l = ring_[pos * 2];
    const float r = ring_[pos * 2 + 1];
    mix[i * 2] += l * g;
    mix[i * 2 + 1] += r * g;
    if (!heard && (std::fabs(l) > 1e-4f || std::fabs(r) > 1e-4f)) heard = true;
    if (++pos == static_cast<size_t>(capacity_)) pos = 0;
  }
  if (n > 0) appliedGain_ = rampFrames == n ? g : target;
  if (heard && waitingForFirstSound_) {
    waitingForFirstSound_ = false;
    firstSound_ = std::chrono::steady_clock::now();
  }
  consumed_ += static_cast<std::uint64_t>(n);

  // The clock: media time of the next frame to be heard.
  while (markers_.size() > 1 && markers_[1].startFrame <= consumed_) markers_.pop_front();
  if (!markers_.empty() && markers_.front().startFrame <= consumed_) {
    const Marker& m = markers_.front();
    clock_.serial = m.serial;
    clock_.mediaTime = m.mediaTime + static_cast<double>(consumed_ - m.startFrame) * m.secondsPerFrame;
  }

  if (n < frames && endMarked_ && written_ == consumed_) {
    // Everything has been heard: the sound has ended.
    playing_.store(false, std::memory_order_release);
    finished_.store(true, std::memory_order_release);
  }
  spaceCv_.notify_all();
}

}  // namespace qm::media
