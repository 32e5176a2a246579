#include "media/VideoFrameQueue.h"

namespace qm::media {

bool VideoFrameQueue::full() const {
  std::lock_guard lock(mutex_);
  return frames_.size() >= capacity_;
}

size_t VideoFrameQueue::size() const {
  std::lock_guard lock(mutex_);
  return frames_.size();
}

void VideoFrameQueue::push(VideoFrame frame) {
  std::lock_guard lock(mutex_);
  if (frame.serial < minSerial_) return;
  frames_.push_back(std::move(frame));
}

std::optional<VideoFrame> VideoFrameQueue::takeDue(StreamClock clock, double lookAhead) {
  std::lock_guard lock(mutex_);
  std::optional<VideoFrame> due;
  while (!frames_.empty() && isDue(frames_.front(), clock, due ? 0.0 : lookAhead)) {
    due = std::move(frames_.front());
    frames_.pop_front();
  }
  if (due) roomCv_.notify_all();
  return due;
}

void VideoFrameQueue::dropOverdue(StreamClock clock) {
  std::lock_guard lock(mutex_);
  while (frames_.size() > 1 && isDue(frames_[1], clock)) frames_.pop_front();
}

void VideoFrameQueue::clear() {
  std::lock_guard lock(mutex_);
  frames_.clear();
  roomCv_.notify_all();
}

void VideoFrameQueue::clearFor(std::uint32_t serial) {
  std::lock_guard lock(mutex_);
  frames_.clear();
  minSerial_ = serial;
  roomCv_.notify_all();
}

void VideoFrameQueue::waitForRoom(int timeoutMs) {
  std::unique_lock lock(mutex_);
  roomCv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return frames_.size() < capacity_; });
}

}  // namespace qm::media
