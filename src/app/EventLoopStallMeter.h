// Measures how long the user-interface thread's event loop went without running,
// step by step of a walkthrough: a timer due every millisecond notes the gap since
// it last ran. Waits the game asks for run the event loop, so they do not count;
// what counts is work that holds the thread (a frame opening, loading sounds).
// Each gap is also given in the thread's processor time, which tells the player's
// own work from a busy machine that did not give it the processor.
#pragma once

#include <QString>
#include <QTimer>
#include <vector>

class QTextStream;

namespace qm::app {

class EventLoopStallMeter {
 public:
  struct Step {
    int line = 0;
    QString text;
    double worstMs = 0.0;     // the longest gap, wall clock
    double worstCpuMs = 0.0;  // the most processor time the thread used in one gap
  };

  EventLoopStallMeter();
  // A new step begins (line 0: before the first step).
  void beginStep(int line, const QString& text);
  // Every step, longest gap first, one line each.
  void report(QTextStream& out) const;
  const std::vector<Step>& steps() const { return steps_; }

 private:
  void tick();

  QTimer timer_;
  std::vector<Step> steps_;
  qint64 lastNs_ = 0;
  double lastCpuMs_ = 0.0;
};

}  // namespace qm::app
