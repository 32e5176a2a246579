#include "engine/controls/TimerControl.h"

#include "engine/controls/VbControl.h"

namespace qm::engine {

namespace {
const PropertyDef kProps[] = {
    QM_PROP(TimerControl, "Enabled", enabled, setEnabled, toBool),
    QM_PROP(TimerControl, "Interval", interval, setInterval, toInt),
    QM_PROP(TimerControl, "Tag", tag, setTag, toString),
    QM_PROP_RO(TimerControl, "Name", vbName),
    QM_PROP_RO(TimerControl, "Index", vbIndex),
};
const PropertyTable kTable{kProps, nullptr};
}  // namespace

TimerControl::TimerControl(QString name, int index, QObject* parent)
    : QObject(parent), name_(std::move(name)), index_(index) {
  connect(&timer_, &platform::GameTimer::timeout, this, [this] {
    if (onTimer) onTimer();
  });
}

const PropertyTable& TimerControl::propertyTable() const { return kTable; }

void TimerControl::setEnabled(bool e) {
  enabled_ = e;
  restart();
}

// Longer than the old 65535 ms limit is allowed: frame timers of minutes work.
void TimerControl::setInterval(int ms) {
  interval_ = std::max(ms, 0);
  restart();
}

void TimerControl::restart() {
  if (enabled_ && interval_ > 0) timer_.start(interval_);
  else timer_.stop();
}

}  // namespace qm::engine
