// A player's decoding never holds up the thread that drives it: a seek and the
// end of a session return while the decoder is busy, what was decoded before a
// seek is never heard, and decoder threads are reused.
#include "media/MediaSession.h"

#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

#include "MediaTestSupport.h"
#include "media/AudioFormat.h"
#include "media/DecoderThreads.h"

namespace qm::media {
namespace {

using namespace std::chrono_literals;
using testing::ManualCapture;

// What the test and its decoder share; outlives both.
struct Gate {
  std::mutex mutex;
  std::condition_variable cv;
  bool open = false;
  bool inside = false;  // the decoder is waiting in decode()
  std::atomic<bool> destroyed{false};
  std::atomic<int> decodersEnded{0};
  std::thread::id destroyedOn;

  void openUp() {
    std::lock_guard lock(mutex);
    open = true;
    cv.notify_all();
  }
  // Waits (a generous while) until the decoder waits at the gate.
  bool waitUntilInside() {
    std::unique_lock lock(mutex);
    return cv.wait_for(lock, 10s, [&] { return inside; });
  }
};

// Endless sound at a level that tells runs apart: 0.5 before any seek, 0.25 after one.
// Every decode() waits until the gate is open.
class GatedDecoder final : public Decoder {
 public:
  explicit GatedDecoder(std::shared_ptr<Gate> gate) : gate_(std::move(gate)) {}
  ~GatedDecoder() override {
    gate_->destroyedOn = std::this_thread::get_id();
    gate_->destroyed = true;
    ++gate_->decodersEnded;
  }
  bool decode(DecodedChunk& chunk) override {
    {
      std::unique_lock lock(gate_->mutex);
      gate_->inside = true;
      gate_->cv.notify_all();
      gate_->cv.wait(lock, [&] { return gate_->open; });
    }
    constexpr int kFrames = 2048;
    chunk.audioTime = time_;
    chunk.audio.assign(static_cast<size_t>(kFrames) * kOutputChannels, seeked_ ? 0.25f : 0.5f);
    time_ += static_cast<double>(kFrames) / kOutputRate;
    return true;
  }
  bool seek(double seconds) override {
    seeked_ = true;
    time_ = seconds;
    return true;
  }
  void setRate(double) override {}
  double duration() const override { return 1000.0; }

 private:
  std::shared_ptr<Gate> gate_;
  bool seeked_ = false;
  double time_ = 0.0;
};

class MediaSessionTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ensureApplication(); }
};

TEST_F(MediaSessionTest, ASeekIsTakenAtOnceWhileTheDecoderIsBusy) {
  ManualCapture capture;
  auto gate = std::make_shared<Gate>();
  auto session = std::make_unique<MediaSession>(std::make_unique<GatedDecoder>(gate), 1.0, 1, 1.0f);
  ASSERT_TRUE(gate->waitUntilInside());
  session->seek(3.0);
  // The clock stands at the new place at once, though the decoder has not looked yet.
  EXPECT_DOUBLE_EQ(session->position(), 3.0);
  session->play();
  gate->openUp();
  capture.render(0.3);
  const auto wav = capture.finish();
  // Only sound from after the seek is heard: nothing decoded before it.
  EXPECT_NEAR(wav.peak(0.0, 0.3), 0.25, 0.01);
  EXPECT_GT(session->position(), 3.2);
}

TEST_F(MediaSessionTest, EndingASessionDoesNotWaitForItsDecoder) {
  auto gate = std::make_shared<Gate>();
  auto session = std::make_unique<MediaSession>(std::make_unique<GatedDecoder>(gate), 1.0, 1, 1.0f);
  ASSERT_TRUE(gate->waitUntilInside());
  auto end = std::async(std::launch::async, [&] { session.reset(); });
  const bool returned = end.wait_for(10s) == std::future_status::ready;
  EXPECT_FALSE(gate->destroyed);  // still decoding when the session was gone
  gate->openUp();
  end.wait();
  EXPECT_TRUE(returned);
  // The decoder ends on its own thread, once it comes back.
  for (int i = 0; i < 1000 && !gate->destroyed; ++i) QThread::msleep(10);
  EXPECT_TRUE(gate->destroyed);
  EXPECT_NE(gate->destroyedOn, std::this_thread::get_id());
}

TEST_F(MediaSessionTest, LoadingNewSoundsReusesTheDecoderThreads) {
  auto round = [] {
    auto gate = std::make_shared<Gate>();
    gate->openUp();
    std::vector<std::unique_ptr<MediaSession>> sessions;
    for (int i = 0; i < 7; ++i)
      sessions.push_back(std::make_unique<MediaSession>(std::make_unique<GatedDecoder>(gate), 1.0, 1, 1.0f));
    sessions.clear();
    // The seven jobs end and their threads wait for the next ones.
    for (int i = 0; i < 1000 && (gate->decodersEnded < 7 || DecoderThreads::idle() < 7); ++i) QThread::msleep(10);
  };
  round();
  const std::size_t threads = DecoderThreads::started();
  ASSERT_GE(threads, 7u);
  for (int i = 0; i < 5; ++i) round();
  EXPECT_EQ(DecoderThreads::started(), threads);
}

}  // namespace
}  // namespace qm::media
