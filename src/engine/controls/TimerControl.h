// A window timer: fires every Interval milliseconds while Enabled, on the
// user-interface thread. An interval of 0 never fires, enabled or not.
#pragma once

#include <QObject>
#include <functional>

#include "engine/controls/VbObject.h"
#include "platform/GameTimer.h"

namespace qm::engine {

class TimerControl : public QObject, public VbObject {
  Q_OBJECT
 public:
  TimerControl(QString name, int index, QObject* parent = nullptr);
  const PropertyTable& propertyTable() const override;
  QString vbName() const override { return name_; }
  int vbIndex() const override { return index_; }
  void setVbIndex(int i) { index_ = i; }

  bool enabled() const { return enabled_; }
  void setEnabled(bool e);
  int interval() const { return interval_; }
  void setInterval(int ms);
  QString tag() const { return tag_; }
  void setTag(const QString& t) { tag_ = t; }
  bool running() const { return timer_.isActive(); }

  // The tick handler (the control's Timer event).
  std::function<void()> onTimer;

  // For control arrays (a timer has nothing to hide).
  void placeOnTop() { }
  void hideControl() {}
  void detachHandlers() { onTimer = nullptr, setEnabled(false); }

 private:
  void restart();
  QString name_;
  int index_;
  bool enabled_ = false;
  int interval_ = 0;
  QString tag_;
  platform::GameTimer timer_;
};

}  // namespace qm::engine
