#include "media/AudioMixer.h"

#include <algorithm>

#include "media/AudioFormat.h"

namespace qm::media {

AudioMixer& AudioMixer::instance() {
  static AudioMixer mixer;
  return mixer;
}

AudioMixer::~AudioMixer() {
  std::unique_ptr<AudioOutput> out;
  {
    std::lock_guard lock(outputMutex_);
    out = std::move(output_);
  }
  out.reset();  // stops the output thread before the streams go
  stopCapture();
}

void AudioMixer::add(const std::shared_ptr<AudioStream>& stream) {
  std::lock_guard lock(streamsMutex_);
  if (std::find(streams_.begin(), streams_.end(), stream) == streams_.end()) streams_.push_back(stream);
}

void AudioMixer::remove(const AudioStream* stream) {
  std::lock_guard lock(streamsMutex_);
  streams_.erase(std::remove_if(streams_.begin(), streams_.end(), [&](const auto& s) { return s.get() == stream; }),
                 streams_.end());
}

void AudioMixer::ensureOutput() {
  std::lock_guard lock(outputMutex_);
  if (manual_ || output_) return;
  auto pull = [this](float* out, int frames) { mix(out, frames, false); };
  std::string whyNot;
  output_ = openSdlAudioOutput(pull, &whyNot);
  if (!output_) output_ = openClockAudioOutput(pull);
}

void AudioMixer::setManualClock(bool manual) {
  std::unique_ptr<AudioOutput> old;
  {
    std::lock_guard lock(outputMutex_);
    manual_ = manual;
    if (manual) old = std::move(output_);
  }
  old.reset();
}

bool AudioMixer::manualClock() const {
  std::lock_guard lock(outputMutex_);
  return manual_;
}

bool AudioMixer::render(int frames) {
  if (!manualClock()) return false;
  // In blocks no larger than a device would ask for, so that decoders can keep up.
  constexpr int kBlock = 512;
  std::vector<float> block(static_cast<size_t>(kBlock) * kOutputChannels);
  for (int done = 0; done < frames; done += kBlock) {
    mix(block.data(), std::min(kBlock, frames - done), true);
  }
  return true;
}

void AudioMixer::mix(float* out, int frames, bool waitForDecoders) {
  std::fill(out, out + static_cast<size_t>(frames) * kOutputChannels, 0.0f);
  {
    std::lock_guard lock(streamsMutex_);
    for (const auto& s : streams_) s->mixInto(out, frames, waitForDecoders);
    framesMixed_ += static_cast<std::uint64_t>(frames);
  }
  for (int i = 0; i < frames * kOutputChannels; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
  std::lock_guard lock(captureMutex_);
  if (capture_.isOpen()) capture_.write(out, frames);
  if (tap_) tap_(out, frames);
}

void AudioMixer::setTap(Tap tap) {
  std::lock_guard lock(captureMutex_);
  tap_ = std::move(tap);
}

bool AudioMixer::startCapture(const std::string& path, std::string* error) {
  std::lock_guard lock(captureMutex_);
  return capture_.open(path, error);
}

bool AudioMixer::stopCapture() {
  std::lock_guard lock(captureMutex_);
  return capture_.close();
}

std::string AudioMixer::outputDescription() {
  std::lock_guard lock(outputMutex_);
  if (manual_) return "manual clock (rendering)";
  return output_ ? output_->description() : "not open";
}

int AudioMixer::blockFrames() {
  std::lock_guard lock(outputMutex_);
  return output_ ? output_->blockFrames() : 512;
}

std::uint64_t AudioMixer::framesMixed() const {
  std::lock_guard lock(streamsMutex_);
  return framesMixed_;
}

}  // namespace qm::media
