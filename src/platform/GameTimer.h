// The timer game code uses for everything the game can see the timing of
// (window timers, the message panel, timed events, media players, animated
// pictures): a precise Qt timer on real time, or a timer of the virtual clock,
// which fires when a wait moves virtual time past its due time.
#pragma once

#include <QObject>
#include <QTimer>

#include "platform/Clock.h"

namespace qm::platform {

class GameTimer : public QObject {
  Q_OBJECT
 public:
  explicit GameTimer(QObject* parent = nullptr);
  ~GameTimer() override;

  void setSingleShot(bool on) { singleShot_ = on; }
  bool isSingleShot() const { return singleShot_; }
  int interval() const { return intervalMs_; }
  // Takes effect at the next start (or at once when running, as a restart).
  void setInterval(int ms);

  // (Re)starts: the first timeout comes `ms` milliseconds from now.
  void start(int ms);
  void start() { start(intervalMs_); }
  void stop();
  bool isActive() const;

 signals:
  void timeout();

 private:
  void scheduleVirtual(qint64 dueNs);
  void firedVirtual(qint64 dueNs);

  QTimer real_;
  bool singleShot_ = false;
  int intervalMs_ = 0;
  Clock::TimerId pending_ = 0;  // virtual time: the scheduled timeout, 0 when stopped
};

}  // namespace qm::platform
