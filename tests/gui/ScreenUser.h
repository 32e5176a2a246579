// The person at the screen of the real-window tests: moves and clicks the
// mouse and presses keys through the X server (XTest), exactly as a real
// mouse and keyboard would, and reads back the pixels the server shows.
//
// It talks to the server on a connection of its own, so it may be used from
// any one thread (the tests use it from the person's thread) while the player
// runs its event loop on the application thread.
//
// Keys are named by their X key names: "space", "Tab", "Return", "Escape",
// "Shift_L", "Alt_L", "Control_L", "F1", "a", ...
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <chrono>

struct _XDisplay;

namespace qm::testing {

class ScreenUser {
 public:
  // Call once, before any connection to an X server is made: the person's
  // connection is used from the steps' thread while Qt uses its own.
  static void allowThreads();

  explicit ScreenUser(const QByteArray& displayName);
  ~ScreenUser();
  ScreenUser(const ScreenUser&) = delete;
  ScreenUser& operator=(const ScreenUser&) = delete;

  // ---- Mouse (screen coordinates) -------------------------------------------
  void moveTo(QPoint screen);
  // Moves there, presses and releases the button (1 left, 2 middle, 3 right).
  void click(QPoint screen, int button = 1);
  void buttonDown(int button = 1);
  void buttonUp(int button = 1);

  // ---- Keyboard ---------------------------------------------------------------
  // Presses and releases the key, with the modifiers held around it.
  void tap(const char* key, const QStringList& modifiers = {});
  // Holds the key down: while it is held the server repeats it as a real
  // keyboard does (auto-repeat is on).
  void keyDown(const char* key);
  void keyUp(const char* key);
  // The server's auto-repeat: the wait before the first repeat and between repeats.
  void setAutoRepeat(int delayMs, int intervalMs);

  // ---- Eyes -------------------------------------------------------------------
  // The pixels the server shows in the area (screen coordinates), whatever
  // window they belong to; a null image when the area is off the screen.
  QImage grab(const QRect& screenArea) const;
  QImage grabScreen() const;
  QRect screenRect() const;

 private:
  static constexpr int kKeyGapMs = 15;  // between two key events, at the least
  void key(const char* key, bool down);
  void pace();
  void sync() const;

  _XDisplay* display_ = nullptr;
  std::chrono::steady_clock::time_point lastKey_;
};

}  // namespace qm::testing
