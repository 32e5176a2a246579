// What a player's worker thread pulls from: a source of sound (already at the output
// format and scaled to the playback rate) and, for videos, pictures with their times.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <vector>

namespace qm::media {

struct DecodedChunk {
  std::vector<float> audio;  // interleaved stereo frames at the output rate
  double audioTime = 0.0;    // media time of the first frame, seconds
  struct Picture {
    double time = 0.0;  // media time at which it is shown
    QImage image;       // natural size
  };
  std::vector<Picture> pictures;

  void clear() {
    audio.clear();
    pictures.clear();
  }
  bool empty() const { return audio.empty() && pictures.empty(); }
};

class Decoder {
 public:
  virtual ~Decoder() = default;
  // Decodes a little more into `chunk` (cleared by the caller). False at the end of the media.
  virtual bool decode(DecodedChunk& chunk) = 0;
  // Continues from `seconds` into the media; false when the source cannot go there.
  virtual bool seek(double seconds) = 0;
  // Starts the next run of a repeated play. Unlike a seek, whatever still sounds may ring on.
  virtual bool restart() { return seek(0.0); }
  // 1 is normal speed; 2 twice as fast.
  virtual void setRate(double rate) = 0;
  // Whether another run will follow this one (a repeated play); sources that ring on
  // after their last event use it to end a run at its loop point instead of its tail.
  virtual void setMoreRunsFollow(bool) {}
  // A description of a failure that ended decoding early; empty when none.
  virtual QString errorString() const { return {}; }
  virtual bool hasVideo() const { return false; }
  virtual QSize naturalSize() const { return {}; }
  virtual double duration() const { return 0.0; }
};

}  // namespace qm::media
