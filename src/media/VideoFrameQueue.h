// Decoded pictures waiting to be shown, handed from a player's worker thread to the
// user-interface thread. Each picture carries the run (serial) and media time at
// which it is due; the sound clock decides which one is on screen.
#pragma once

#include <QImage>
#include <cstdint>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "media/AudioStream.h"

namespace qm::media {

struct VideoFrame {
  std::uint32_t serial = 0;
  double time = 0.0;
  QImage image;
};

class VideoFrameQueue {
 public:
  explicit VideoFrameQueue(size_t capacity = 6) : capacity_(capacity) {}

  bool full() const;
  void push(VideoFrame frame);
  // The latest picture that is due at `clock` (or within `lookAhead` seconds after it);
  // the ones before it are dropped.
  std::optional<VideoFrame> takeDue(StreamClock clock, double lookAhead = 0.0);
  // Drops pictures that are overdue at `clock`, keeping the latest due one. Lets the
  // decoder go on when nobody is looking at the pictures.
  void dropOverdue(StreamClock clock);
  void clear();
  // Empties the queue for a seek to run `serial`: pictures of earlier runs pushed
  // after this are dropped.
  void clearFor(std::uint32_t serial);
  size_t size() const;
  // Waits until a picture is taken or dropped, or the timeout passes.
  void waitForRoom(int timeoutMs);

  static bool isDue(const VideoFrame& f, StreamClock clock, double lookAhead = 0.0) {
    return f.serial < clock.serial || (f.serial == clock.serial && f.time <= clock.mediaTime + 0.005 + lookAhead);
  }

 private:
  size_t capacity_;
  mutable std::mutex mutex_;
  std::condition_variable roomCv_;
  std::deque<VideoFrame> frames_;
  std::uint32_t minSerial_ = 0;
};

}  // namespace qm::media
