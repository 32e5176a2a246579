// A writer that comes to a named pipe after a while, so that an open that
// wrongly waits for one fails its test instead of hanging it. It stays away
// when the test is done first.
#pragma once

#include <QByteArray>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace qm::testing {

class PipeRescue {
 public:
  explicit PipeRescue(QByteArray fifo, std::chrono::seconds after = std::chrono::seconds(20))
      : fifo_(std::move(fifo)), rescue_([this, after] {
          std::unique_lock lock(m_);
          if (cv_.wait_for(lock, after, [this] { return finished_; })) return;
          const int w = ::open(fifo_.constData(), O_RDWR | O_NONBLOCK);
          if (w >= 0) ::close(w);
        }) {}
  ~PipeRescue() {
    {
      std::lock_guard lock(m_);
      finished_ = true;
    }
    cv_.notify_all();
    rescue_.join();
  }
  PipeRescue(const PipeRescue&) = delete;
  PipeRescue& operator=(const PipeRescue&) = delete;

 private:
  QByteArray fifo_;
  std::mutex m_;
  std::condition_variable cv_;
  bool finished_ = false;
  std::thread rescue_;  // last: it starts once everything it uses is made
};

}  // namespace qm::testing
