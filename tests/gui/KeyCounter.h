// Counts the presses of one key that reach the application's windows, and how
// many of them the toolkit marked as the keyboard's repeats. Make and delete it
// on the application thread; read the counts from any thread.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QObject>
#include <QWidget>
#include <atomic>

namespace qm::testing {

class KeyCounter : public QObject {
 public:
  explicit KeyCounter(int key) : key_(key) { qApp->installEventFilter(this); }
  ~KeyCounter() override { qApp->removeEventFilter(this); }

  std::atomic<int> presses{0}, repeats{0};
  int firstPresses() const { return presses - repeats; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // A key event is offered to the window first: count it there, once.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == key_) {
        ++presses;
        if (key->isAutoRepeat()) ++repeats;
      }
    }
    return false;
  }

 private:
  int key_;
};

}  // namespace qm::testing
