// The output used when no sound device opens: the mix is pulled at the pace of a
// steady clock and dropped, so everything that depends on time behaves as with a card.
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "media/AudioFormat.h"
#include "media/AudioOutput.h"

namespace qm::media {

namespace {

constexpr int kBlockFrames = 441;  // 10 ms

class ClockAudioOutput final : public AudioOutput {
 public:
  explicit ClockAudioOutput(Pull pull) : pull_(std::move(pull)), thread_([this] { run(); }) {}
  ~ClockAudioOutput() override {
    stop_ = true;
    thread_.join();
  }
  std::string description() const override { return "no sound device (clock only)"; }
  int blockFrames() const override { return kBlockFrames; }

 private:
  void run() {
    using clock = std::chrono::steady_clock;
    std::vector<float> block(static_cast<size_t>(kBlockFrames) * kOutputChannels);
    const auto period = std::chrono::microseconds(1'000'000LL * kBlockFrames / kOutputRate);
    auto next = clock::now();
    while (!stop_) {
      pull_(block.data(), kBlockFrames);
      next += period;
      const auto now = clock::now();
      if (next < now - std::chrono::milliseconds(200)) next = now;  // fell far behind: do not rush
      std::this_thread::sleep_until(next);
    }
  }

  Pull pull_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace

std::unique_ptr<AudioOutput> openClockAudioOutput(AudioOutput::Pull pull) {
  return std::make_unique<ClockAudioOutput>(std::move(pull));
}

}  // namespace qm::media
