// One loaded media file at play: its decoder runs on a worker thread of its own and
// feeds an AudioStream (mixed by the AudioMixer) and, for videos, a queue of pictures.
// Every method is called from the thread that owns the player; none waits on decoding
// except seek(), which waits a moment for the worker to take the new position.
#pragma once

#include <QSize>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "media/AudioStream.h"
#include "media/Decoder.h"
#include "media/VideoFrameQueue.h"

namespace qm::media {

class MediaSession {
 public:
  MediaSession(std::unique_ptr<Decoder> decoder, double rate, int playCount, float gain);
  ~MediaSession();
  MediaSession(const MediaSession&) = delete;
  MediaSession& operator=(const MediaSession&) = delete;

  // Starts or resumes; after the end (or a failure) starts over from the beginning.
  void play();
  // Silences at once; the position is kept.
  void stop();
  // Moves to `seconds` into the media.
  void seek(double seconds);
  void setRate(double rate);
  void setPlayCount(int count);
  void setGain(float gain) { stream_->setGain(gain); }

  bool isPlaying() const { return stream_->isPlaying(); }
  bool hasFinished() const { return stream_->isFinished(); }
  double position() const;
  StreamClock clock() const { return stream_->clock(); }
  VideoFrameQueue& pictures() { return pictures_; }
  AudioStream& stream() { return *stream_; }
  // The failure that ended decoding early; empty when none.
  QString errorString() const;

  bool hasVideo() const { return hasVideo_; }
  QSize naturalSize() const { return naturalSize_; }
  double duration() const { return duration_; }

 private:
  void run();
  void wake();
  void seekTo(double seconds, bool resetRuns);
  // Waits a moment until the worker has taken the latest settings.
  void waitForSettings(std::uint64_t version);

  std::unique_ptr<Decoder> decoder_;
  std::shared_ptr<AudioStream> stream_;
  VideoFrameQueue pictures_;
  bool hasVideo_;
  QSize naturalSize_;
  double duration_;

  mutable std::mutex mutex_;  // guards the command fields below
  std::condition_variable commandCv_;
  std::condition_variable ackCv_;
  bool quit_ = false;
  bool seekRequested_ = false;
  double seekTarget_ = 0.0;
  bool seekResetsRuns_ = false;
  std::uint64_t seekId_ = 0;
  std::uint64_t seekDone_ = 0;
  double rate_;
  int playCount_;
  std::uint64_t settingsVersion_ = 0;
  std::uint64_t settingsApplied_ = 0;
  QString error_;
  std::atomic<bool> decodeEnded_{false};
  std::thread worker_;
};

}  // namespace qm::media
