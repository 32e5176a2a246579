#include "media/MediaSession.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

#include "media/AudioFormat.h"
#include "media/AudioMixer.h"
#include "media/DecoderThreads.h"
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

struct MediaSession::Shared {
  Shared(std::unique_ptr<Decoder> d, double rate, int playCount)
      : decoder(std::move(d)), stream(std::make_shared<AudioStream>(kRingFrames)), rate(rate), playCount(playCount) {}

  void run();
  void wake() {
    commandCv.notify_all();
    stream->wakeProducer();
  }
  // A new run number; runs only rise, whichever side starts them.
  std::uint32_t newSerial() {
    std::lock_guard lock(mutex);
    return ++lastSerial;
  }

  std::unique_ptr<Decoder> decoder;
  std::shared_ptr<AudioStream> stream;
  VideoFrameQueue pictures;

  std::mutex mutex;  // guards the command fields below
  std::condition_variable commandCv;
  std::condition_variable ackCv;
  bool quit = false;
  bool seekRequested = false;
  double seekTarget = 0.0;
  bool seekResetsRuns = false;
  std::uint32_t seekSerial = 1;  // the run and epoch the last seek started
  std::uint64_t seekEpoch = 1;
  std::uint32_t lastSerial = 1;
  std::uint64_t lastEpoch = 1;
  double rate;
  int playCount;
  std::uint64_t settingsVersion = 0;
  std::uint64_t settingsApplied = 0;
  QString error;
};

MediaSession::MediaSession(std::unique_ptr<Decoder> decoder, double rate, int playCount, float gain)
    : hasVideo_(decoder->hasVideo()), naturalSize_(decoder->naturalSize()), duration_(decoder->duration()) {
  shared_ = std::make_shared<Shared>(std::move(decoder), rate, playCount);
  shared_->stream->restart(shared_->seekEpoch, {shared_->seekSerial, 0.0});
  shared_->stream->setGain(gain);
  AudioMixer::instance().add(shared_->stream);
  DecoderThreads::run([shared = shared_] { shared->run(); });
}

MediaSession::~MediaSession() {
  AudioMixer::instance().remove(shared_->stream.get());
  {
    std::lock_guard lock(shared_->mutex);
    shared_->quit = true;
  }
  // The job sees the request, ends and lets go of the decoder on its own thread.
  shared_->wake();
}

VideoFrameQueue& MediaSession::pictures() { return shared_->pictures; }
AudioStream& MediaSession::stream() const { return *shared_->stream; }

void MediaSession::play() {
  if (stream().isPlaying()) return;
  // Played to its end: a new play starts over, with all its repeats.
  if (stream().isFinished()) seekTo(0.0, true);
  AudioMixer::instance().ensureOutput();
  stream().setPlaying(true);
}

void MediaSession::stop() { stream().setPlaying(false); }

void MediaSession::seek(double seconds) { seekTo(seconds, stream().isFinished()); }

void MediaSession::seekTo(double seconds, bool resetRuns) {
  // The player's side empties the queues and sets the clock at once; the decoder
  // follows when it next looks, and what it decoded before is dropped.
  Shared& s = *shared_;
  {
    std::lock_guard lock(s.mutex);
    s.seekRequested = true;
    s.seekTarget = std::max(0.0, seconds);
    s.seekResetsRuns = resetRuns;
    s.seekSerial = ++s.lastSerial;
    s.seekEpoch = ++s.lastEpoch;
    s.stream->restart(s.seekEpoch, {s.seekSerial, s.seekTarget});
    s.pictures.clearFor(s.seekSerial);
  }
  s.wake();
}

void MediaSession::setRate(double rate) {
  {
    std::lock_guard lock(shared_->mutex);
    if (rate == shared_->rate) return;
    shared_->rate = rate;
    ++shared_->settingsVersion;
  }
  // What was decoded ahead at the old rate is dropped: go on from where playback stands.
  seek(position());
}

void MediaSession::setPlayCount(int count) {
  Shared& s = *shared_;
  std::uint64_t version;
  {
    std::lock_guard lock(s.mutex);
    if (s.playCount == std::max(count, 0)) return;
    s.playCount = std::max(count, 0);
    version = ++s.settingsVersion;
  }
  if (!stream().isPlaying()) {
    // Set before playing (the usual case): decode ahead again, so that the end of the
    // first run (a repeat's loop point, or a single run's fading tail) matches the count.
    const double at = position();
    seekTo(at, at == 0.0 || stream().isFinished());
    return;
  }
  s.wake();
  // The worker may have decoded to the end already: it must take the new count before
  // the mixer could play that end.
  std::unique_lock lock(s.mutex);
  s.ackCv.wait_for(lock, ackTimeout(), [&] { return s.settingsApplied >= version; });
}

double MediaSession::position() const { return stream().clock().mediaTime; }

QString MediaSession::errorString() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->error;
}

void MediaSession::Shared::run() {
  std::uint32_t serial;
  std::uint64_t epoch;
  {
    std::lock_guard lock(mutex);
    serial = seekSerial;
    epoch = seekEpoch;
  }
  stream->takeFlushed();  // the ring starts empty; a flush that comes later wakes a wait for room
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
    double rate;
    int playCount;
    std::uint64_t version;
    {
      std::lock_guard lock(mutex);
      if (quit) return;
      if (seekRequested) {
        doSeek = true;
        target = seekTarget;
        resetRuns = seekResetsRuns;
        serial = seekSerial;
        epoch = seekEpoch;
        seekRequested = false;
      }
      rate = this->rate;
      playCount = this->playCount;
      version = settingsVersion;
    }
    if (doSeek) {
      // The player has emptied the queues and set the clock already.
      stream->takeFlushed();
      pictures.clearFor(serial);
      chunk.clear();
      audioOffset = picturesDone = 0;
      if (resetRuns) runsDone = 0;
      ended = false;
      endHeard = false;
      producedThisRun = false;
      decoder->seek(target);
    }
    decoder->setRate(rate);
    decoder->setMoreRunsFollow(playCount == 0 || runsDone + 1 < playCount);

    if (ended) {
      // More runs asked for after the decoder reached the end, but before it was heard: go on.
      if (!endHeard && producedThisRun && (playCount == 0 || runsDone < playCount)) {
        if (stream->reopenEnd(epoch) && decoder->restart()) {
          ended = false;
          serial = newSerial();
          producedThisRun = false;
          {
            std::lock_guard lock(mutex);
            settingsApplied = std::max(settingsApplied, version);
          }
          ackCv.notify_all();
          continue;
        }
        endHeard = true;
      }
      std::unique_lock lock(mutex);
      settingsApplied = std::max(settingsApplied, version);
      ackCv.notify_all();
      commandCv.wait_for(lock, std::chrono::milliseconds(100),
                         [&] { return quit || seekRequested || settingsVersion != version; });
      continue;
    }
    {
      std::lock_guard lock(mutex);
      settingsApplied = std::max(settingsApplied, version);
    }
    ackCv.notify_all();

    // Hand over what was decoded, as far as there is room.
    const size_t chunkFrames = chunk.audio.size() / kOutputChannels;
    if (audioOffset < chunkFrames || picturesDone < chunk.pictures.size()) {
      const double perFrame = rate / kOutputRate;
      bool progress = false;
      if (audioOffset < chunkFrames) {
        const int room = stream->freeFrames();
        const int n = static_cast<int>(std::min<size_t>(static_cast<size_t>(std::max(room, 0)), chunkFrames - audioOffset));
        if (n > 0) {
          stream->write(chunk.audio.data() + audioOffset * kOutputChannels, n, chunk.audioTime + audioOffset * perFrame,
                         perFrame, serial, epoch);
          audioOffset += static_cast<size_t>(n);
          progress = true;
        }
      }
      pictures.dropOverdue(stream->clock());
      while (picturesDone < chunk.pictures.size()) {
        const bool soundStarving = stream->queuedFrames() < kLowWaterFrames;
        if (pictures.full() && !soundStarving) break;
        auto& p = chunk.pictures[picturesDone++];
        if (pictures.size() < kMaxPictures) pictures.push({serial, p.time, std::move(p.image)});
        progress = true;
      }
      if (!progress) {
        // Waiting for room: in the sound ring, or (when only pictures are left) in the picture queue.
        const int wait = stream->isPlaying() ? 5 : 50;
        if (audioOffset < chunkFrames) stream->waitForSpace(static_cast<int>(std::min<size_t>(chunkFrames - audioOffset, 2048)), wait);
        else pictures.waitForRoom(wait);
      }
      continue;
    }

    chunk.clear();
    audioOffset = picturesDone = 0;
    if (decoder->decode(chunk)) {
      producedThisRun = true;
      continue;
    }
    const QString err = decoder->errorString();
    if (!err.isEmpty()) {
      std::lock_guard lock(mutex);
      error = err;
    }
    ++runsDone;
    if (err.isEmpty() && producedThisRun && (playCount == 0 || runsDone < playCount) && decoder->restart()) {
      serial = newSerial();
      producedThisRun = false;
      continue;
    }
    stream->markEnd(epoch);
    ended = true;
  }
}

}  // namespace qm::media
