// The sound card output through SDL2 audio (SDL is used for nothing else).
#include <SDL.h>

#include "media/AudioFormat.h"
#include "media/AudioOutput.h"

namespace qm::media {

namespace {

// 512 frames at 44.1 kHz: 11.6 ms per block keeps the start of a sound prompt.
constexpr int kBlockFrames = 512;

class SdlAudioOutput final : public AudioOutput {
 public:
  explicit SdlAudioOutput(Pull pull) : pull_(std::move(pull)) {}
  ~SdlAudioOutput() override {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    if (initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  bool open(std::string* whyNot) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      if (whyNot) *whyNot = SDL_GetError();
      return false;
    }
    initialised_ = true;
    SDL_AudioSpec want{};
    want.freq = kOutputRate;
    want.format = AUDIO_F32SYS;
    want.channels = kOutputChannels;
    want.samples = kBlockFrames;
    want.callback = &SdlAudioOutput::callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts to whatever the device wants behind the scenes.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
      if (whyNot) *whyNot = SDL_GetError();
      return false;
    }
    driver_ = SDL_GetCurrentAudioDriver() ? SDL_GetCurrentAudioDriver() : "unknown";
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

  std::string description() const override { return "SDL audio (" + driver_ + ")"; }
  int blockFrames() const override { return kBlockFrames; }

 private:
  static void SDLCALL callback(void* userdata, Uint8* stream, int len) {
    auto* self = static_cast<SdlAudioOutput*>(userdata);
    self->pull_(reinterpret_cast<float*>(stream), len / static_cast<int>(sizeof(float) * kOutputChannels));
  }

  Pull pull_;
  SDL_AudioDeviceID device_ = 0;
  bool initialised_ = false;
  std::string driver_;
};

}  // namespace

std::unique_ptr<AudioOutput> openSdlAudioOutput(AudioOutput::Pull pull, std::string* whyNot) {
  auto out = std::make_unique<SdlAudioOutput>(std::move(pull));
  if (!out->open(whyNot)) return nullptr;
  return out;
}

}  // namespace qm::media
