#include "app/EventLoopStallMeter.h"

#include <QTextStream>
#include <algorithm>
#include <chrono>
#include <ctime>

#include "engine/Walkthrough.h"

namespace qm::app {

namespace {

qint64 steadyNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double threadCpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

}  // namespace

EventLoopStallMeter::EventLoopStallMeter() {
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setInterval(1);
  QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
  beginStep(0, QStringLiteral("(before the first step)"));
  timer_.start();
}

void EventLoopStallMeter::beginStep(int line, const QString& text) {
  tick();  // the gap up to here belongs to the step before
  steps_.push_back({line, text, 0.0, 0.0});
}

void EventLoopStallMeter::tick() {
  const qint64 now = steadyNs();
  const double cpu = threadCpuMs();
  if (lastNs_ != 0 && !steps_.empty()) {
    Step& step = steps_.back();
    step.worstMs = std::max(step.worstMs, static_cast<double>(now - lastNs_) / 1e6);
    step.worstCpuMs = std::max(step.worstCpuMs, cpu - lastCpuMs_);
  }
  lastNs_ = now;
  lastCpuMs_ = cpu;
}

void EventLoopStallMeter::report(QTextStream& out) const {
  std::vector<Step> worst = steps_;
  std::sort(worst.begin(), worst.end(), [](const Step& a, const Step& b) { return a.worstMs > b.worstMs; });
  for (const Step& s : worst) {
    out << QStringLiteral("stall %1 ms, processor %2 ms, line %3: %4\n")
               .arg(s.worstMs, 0, 'f', 1)
               .arg(s.worstCpuMs, 0, 'f', 1)
               .arg(s.line)
               .arg(engine::printable(s.text));
  }
  out.flush();
}

}  // namespace qm::app
