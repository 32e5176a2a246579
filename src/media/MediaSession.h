// One loaded media file at play: its decoder runs as a job on one of the decoder
// threads and feeds an AudioStream (mixed by the AudioMixer) and, for videos, a queue
// of pictures. Every method is called from the thread that owns the player; none
// waits on decoding, except a change of the play count while the sound plays, which
// waits a moment for the worker to take it. Destroying a session never waits either:
// the job ends on its own thread and closes the file there.
#pragma once

#include <QSize>
#include <QString>
#include <memory>

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
  void setGain(float gain) { stream().setGain(gain); }

  bool isPlaying() const { return stream().isPlaying(); }
  bool hasFinished() const { return stream().isFinished(); }
  double position() const;
  StreamClock clock() const { return stream().clock(); }
  VideoFrameQueue& pictures();
  AudioStream& stream() const;
  // The failure that ended decoding early; empty when none.
  QString errorString() const;

  bool hasVideo() const { return hasVideo_; }
  QSize naturalSize() const { return naturalSize_; }
  double duration() const { return duration_; }

 private:
  struct Shared;  // what the session and its decoding job both hold
  void seekTo(double seconds, bool resetRuns);

  std::shared_ptr<Shared> shared_;
  bool hasVideo_;
  QSize naturalSize_;
  double duration_;
};

}  // namespace qm::media
