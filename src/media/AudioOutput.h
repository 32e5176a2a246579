// Where the mix goes. An output pulls blocks from a callback at the pace of real time:
// the sound card through SDL, or a plain clock thread when there is no sound device,
// so that playing, positions and the ends of sounds keep real time either way.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace qm::media {

class AudioOutput {
 public:
  // Fills `frames` interleaved stereo float frames.
  using Pull = std::function<void(float* out, int frames)>;
  virtual ~AudioOutput() = default;
  virtual std::string description() const = 0;
  // Frames per block pulled at a time (the device latency).
  virtual int blockFrames() const = 0;
};

// The sound card through SDL2 audio. Returns nullptr (with the reason) when no device opens.
std::unique_ptr<AudioOutput> openSdlAudioOutput(AudioOutput::Pull pull, std::string* whyNot);

// No sound card: a thread that pulls a block every few milliseconds on a steady clock.
std::unique_ptr<AudioOutput> openClockAudioOutput(AudioOutput::Pull pull);

}  // namespace qm::media
