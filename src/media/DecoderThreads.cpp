#include "media/DecoderThreads.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace qm::media {

namespace {

// Idle threads beyond this many end, so a burst of players leaves no crowd behind.
constexpr std::size_t kMaxIdle = 16;

struct Pool {
  std::mutex mutex;
  std::condition_variable jobArrived;
  std::deque<std::function<void()>> jobs;
  std::size_t idle = 0;
  std::size_t started = 0;

  void serve() {
    std::unique_lock lock(mutex);
    for (;;) {
      ++idle;
      jobArrived.wait(lock, [&] { return !jobs.empty() || idle > kMaxIdle; });
      --idle;
      if (jobs.empty()) {
        --started;
        return;  // one too many waiting: this one ends
      }
      std::function<void()> job = std::move(jobs.front());
      jobs.pop_front();
      lock.unlock();
      job();
      job = nullptr;  // what the job held is released on this thread, not under the lock
      lock.lock();
    }
  }
};

// Never destroyed: threads still decoding when the program ends must find it.
Pool& pool() {
  static Pool* p = new Pool;
  return *p;
}

}  // namespace

void DecoderThreads::run(std::function<void()> job) {
  Pool& p = pool();
  bool spawn;
  {
    std::lock_guard lock(p.mutex);
    p.jobs.push_back(std::move(job));
    // Idle threads already promised to earlier jobs still in the queue do not count.
    spawn = p.idle < p.jobs.size();
    if (spawn) ++p.started;
  }
  if (spawn) {
    std::thread([&p] { p.serve(); }).detach();
  } else {
    p.jobArrived.notify_one();
  }
}

std::size_t DecoderThreads::started() {
  std::lock_guard lock(pool().mutex);
  return pool().started;
}

std::size_t DecoderThreads::idle() {
  std::lock_guard lock(pool().mutex);
  return pool().idle;
}

}  // namespace qm::media
