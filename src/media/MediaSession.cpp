#include "media/MediaSession.h"

#include <algorithm>

#include "media/AudioFormat.h"
#include "media/AudioMixer.h"
#include "platform/Clock.h"

namespace qm::media {

namespace {

constexpr int kRingFrames = kOutputRate;  // one second of sound decoded ahead
// Below this much queued sound the decoder keeps going even when pictures pile up.
constexpr int kLowWaterFrames = 8192;
// Pictures decoded ahead while the sound is short (a file that stores its pictures
// far ahead of its sound, as MPEG files do by half a second or more); beyond this
// further pictures are dropped, so that the sound, which drives the clock, never stalls.
constexpr size_t kMaxPictures = 32;

// How long a command waits for the worker to take it. On the virtual clock the
// sound is mixed only when the game waits, so waiting longer costs nothing and
// keeps a busy machine from mixing what the command was to replace.
std::chrono::milliseconds ackTimeout() {
  return std::chrono::milliseconds(platform::Clock::instance().isVirtual() ? 5000 : 250);
}

}  // namespace

MediaSession::MediaSession(std::unique_ptr<Decoder> decoder, double rate, int playCount, float gain)
    : decoder_(std::move(decoder)),
      stream_(std::make_shared<AudioStream>(kRingFrames)),
      hasVideo_(decoder_->hasVideo()),
      naturalSize_(decoder_->naturalSize()),
      duration_(decoder_->duration()),
      rate_(rate),
      playCount_(playCount) {
  stream_->setGain(gain);
  AudioMixer::instance().add(stream_);
  worker_ = std::thread([this] { run(); });
}

MediaSession::~MediaSession() {
  AudioMixer::instance().remove(stream_.get());
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake();
  worker_.join();
}

void MediaSession::wake() {
  commandCv_.notify_all();
  stream_->wakeProducer();
}

void MediaSession::play() {
  if (stream_->isPlaying()) return;
  if (stream_->isFinished()) {
    // Played to its end: a new play starts over, with all its repeats.
    {
      std::lock_guard lock(mutex_);
      seekRequested_ = true;
      seekTarget_ = 0.0;
      seekResetsRuns_ = true;
      ++seekId_;
    }
    wake();
    std::unique_lock lock(mutex_);
    ackCv_.wait_for(lock, ackTimeout(), [&] { return seekDone_ >= seekId_; });
  }
  AudioMixer::instance().ensureOutput();
  stream_->setPlaying(true);
}

void MediaSession::stop() { stream_->setPlaying(false); }

void MediaSession::seek(double seconds) { seekTo(seconds, stream_->isFinished()); }

void MediaSession::seekTo(double seconds, bool resetRuns) {
  std::uint64_t id;
  {
    std::lock_guard lock(mutex_);
    seekRequested_ = true;
    seekTarget_ = std::max(0.0, seconds);
    seekResetsRuns_ = resetRuns;
    id = ++seekId_;
  }
  wake();
  std::unique_lock lock(mutex_);
  ackCv_.wait_for(lock, ackTimeout(), [&] { return seekDone_ >= id; });
}

void MediaSession::setRate(double rate) {
  {
    std::lock_guard lock(mutex_);
    if (rate == rate_) return;
    rate_ = rate;
    ++settingsVersion_;
  }
  // What was decoded ahead at the old rate is dropped: go on from where playback stands.
  seek(position());
}

void MediaSession::setPlayCount(int count) {
  std::uint64_t version;
  {
    std::lock_guard lock(mutex_);
    if (playCount_ == std::max(count, 0)) return;
    playCount_ = std::max(count, 0);
    version = ++settingsVersion_;
  }
  if (!stream_->isPlaying()) {
    // Set before playing (the usual case): decode ahead again, so that the end of the
    // first run (a repeat's loop point, or a single run's fading tail) matches the count.
    const double at = position();
    seekTo(at, at == 0.0 || stream_->isFinished());
    return;
  }
  wake();
  // The worker may have decoded to the end already: it must take the new count before
  // the mixer could play that end.
  waitForSettings(version);
}

void MediaSession::waitForSettings(std::uint64_t version) {
  std::unique_lock lock(mutex_);
  ackCv_.wait_for(lock, ackTimeout(), [&] { return settingsApplied_ >= version; });
}

double MediaSession::position() const { return stream_->clock().mediaTime; }

QString MediaSession::errorString() const {
  std::lock_guard lock(mutex_);
  return error_;
}

void MediaSession::run() {
  std::uint32_t serial = 1;
  stream_->resetClock({serial, 0.0});
  int runsDone = 0;
  bool ended = false;
  bool producedThisRun = false;
  bool endHeard = false;
  DecodedChunk chunk;
  size_t audioOffset = 0;   // frames of chunk.audio already written
  size_t picturesDone = 0;  // pictures of chunk already queued

  for (;;) {
    bool doSeek = false;
    double target = 0.0;
    bool resetRuns = false;
    std::uint64_t id = 0;
    double rate;
    int playCount;
    std::uint64_t version;
    {
      std::lock_guard lock(mutex_);
      if (quit_) return;
      if (seekRequested_) {
        doSeek = true;
        target = seekTarget_;
        resetRuns = seekResetsRuns_;
        id = seekId_;
        seekRequested_ = false;
      }
      rate = rate_;
      playCount = playCount_;
      version = settingsVersion_;
    }
    if (doSeek) {
      ++serial;
      stream_->flush();
      stream_->takeFlushed();
      pictures_.clear();
      stream_->resetClock({serial, target});
      chunk.clear();
      audioOffset = picturesDone = 0;
      if (resetRuns) runsDone = 0;
      ended = false;
      endHeard = false;
      producedThisRun = false;
      decoder_->seek(target);
      {
        std::lock_guard lock(mutex_);
        seekDone_ = std::max(seekDone_, id);
      }
      ackCv_.notify_all();
    }
    decoder_->setRate(rate);
    decoder_->setMoreRunsFollow(playCount == 0 || runsDone + 1 < playCount);

    if (ended) {
      // More runs asked for after the decoder reached the end, but before it was heard: go on.
      if (!endHeard && producedThisRun && (playCount == 0 || runsDone < playCount)) {
        if (stream_->reopenEnd() && decoder_->restart()) {
          ended = false;
          ++serial;
          producedThisRun = false;
          {
            std::lock_guard lock(mutex_);
            settingsApplied_ = std::max(settingsApplied_, version);
          }
          ackCv_.notify_all();
          continue;
        }
        endHeard = true;
      }
      std::unique_lock lock(mutex_);
      settingsApplied_ = std::max(settingsApplied_, version);
      ackCv_.notify_all();
      commandCv_.wait_for(lock, std::chrono::milliseconds(100),
                          [&] { return quit_ || seekRequested_ || settingsVersion_ != version; });
      continue;
    }
    {
      std::lock_guard lock(mutex_);
      settingsApplied_ = std::max(settingsApplied_, version);
    }
    ackCv_.notify_all();

    // Hand over what was decoded, as far as there is room.
    const size_t chunkFrames = chunk.audio.size() / kOutputChannels;
    if (audioOffset < chunkFrames || picturesDone < chunk.pictures.size()) {
      const double perFrame = rate / kOutputRate;
      bool progress = false;
      if (audioOffset < chunkFrames) {
        const int room = stream_->freeFrames();
        const int n = static_cast<int>(std::min<size_t>(static_cast<size_t>(std::max(room, 0)), chunkFrames - audioOffset));
        if (n > 0) {
          stream_->write(chunk.audio.data() + audioOffset * kOutputChannels, n, chunk.audioTime + audioOffset * perFrame,
                         perFrame, serial);
          audioOffset += static_cast<size_t>(n);
          progress = true;
        }
      }
      pictures_.dropOverdue(stream_->clock());
      while (picturesDone < chunk.pictures.size()) {
        const bool soundStarving = stream_->queuedFrames() < kLowWaterFrames;
        if (pictures_.full() && !soundStarving) break;
        auto& p = chunk.pictures[picturesDone++];
        if (pictures_.size() < kMaxPictures) pictures_.push({serial, p.time, std::move(p.image)});
        progress = true;
      }
      if (!progress) {
        // Waiting for room: in the sound ring, or (when only pictures are left) in the picture queue.
        const int wait = stream_->isPlaying() ? 5 : 50;
        if (audioOffset < chunkFrames) stream_->waitForSpace(static_cast<int>(std::min<size_t>(chunkFrames - audioOffset, 2048)), wait);
        else pictures_.waitForRoom(wait);
      }
      continue;
    }

    chunk.clear();
    audioOffset = picturesDone = 0;
    if (decoder_->decode(chunk)) {
      producedThisRun = true;
      continue;
    }
    const QString err = decoder_->errorString();
    if (!err.isEmpty()) {
      std::lock_guard lock(mutex_);
      error_ = err;
    }
    ++runsDone;
    if (err.isEmpty() && producedThisRun && (playCount == 0 || runsDone < playCount) && decoder_->restart()) {
      ++serial;
      producedThisRun = false;
      continue;
    }
    stream_->markEnd();
    ended = true;
  }
}

}  // namespace qm::media
