// The one mixer of the program: every player's AudioStream is summed here, block by
// block, and handed to one output (the sound card, or a clock when there is none).
// A capture can tee the mix into a WAV file. For rendering faster than real time the
// mixer can be switched to a manual clock: then nothing plays by itself and time moves
// only when render() is called.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "media/AudioOutput.h"
#include "media/AudioStream.h"
#include "media/WavWriter.h"

namespace qm::media {

class AudioMixer {
 public:
  static AudioMixer& instance();

  void add(const std::shared_ptr<AudioStream>& stream);
  void remove(const AudioStream* stream);

  // Opens the output if it is not open yet (no-op on the manual clock). Called on the first Play.
  void ensureOutput();
  // Manual clock: closes the output; time advances only through render().
  void setManualClock(bool manual);
  bool manualClock() const;
  // Manual clock only: mixes `frames` frames, waiting for decoders so nothing is skipped,
  // and sends them to the capture. Returns false when the clock is not manual.
  bool render(int frames);

  // Writes everything mixed from now on into a 16-bit stereo 44.1 kHz WAV file.
  bool startCapture(const std::string& path, std::string* error);
  // Completes the file. False when writing failed.
  bool stopCapture();

  // Hands every mixed block (interleaved stereo) to `tap` on the mixing thread, as it is
  // mixed; an empty function ends it. The tap must be quick and must not call the mixer.
  using Tap = std::function<void(const float* samples, int frames)>;
  void setTap(Tap tap);

  std::string outputDescription();
  int blockFrames();
  // Frames mixed since the program started (the mixer's own clock).
  std::uint64_t framesMixed() const;

  AudioMixer(const AudioMixer&) = delete;
  AudioMixer& operator=(const AudioMixer&) = delete;
  ~AudioMixer();

 private:
  AudioMixer() = default;
  void mix(float* out, int frames, bool waitForDecoders);

  mutable std::mutex streamsMutex_;   // guards streams_ and the mixing itself
  std::vector<std::shared_ptr<AudioStream>> streams_;
  mutable std::mutex outputMutex_;           // guards output_ and manual_
  std::unique_ptr<AudioOutput> output_;
  bool manual_ = false;
  std::mutex captureMutex_;
  WavWriter capture_;
  Tap tap_;  // guarded by captureMutex_
  std::uint64_t framesMixed_ = 0;
};

}  // namespace qm::media
