#include "ScreenUser.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

namespace qm::testing {

void ScreenUser::allowThreads() { XInitThreads(); }

ScreenUser::ScreenUser(const QByteArray& displayName) {
  display_ = XOpenDisplay(displayName.constData());
  if (!display_) throw std::runtime_error("cannot connect to the X server " + displayName.toStdString());
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
    XCloseDisplay(display_);
    display_ = nullptr;
    throw std::runtime_error("the X server has no XTEST extension");
  }
  // Held keys repeat, as on a desktop.
  XAutoRepeatOn(display_);
  sync();
}

ScreenUser::~ScreenUser() {
  if (display_) XCloseDisplay(display_);
}

void ScreenUser::sync() const { XSync(display_, False); }

void ScreenUser::moveTo(QPoint screen) {
  XTestFakeMotionEvent(display_, -1, screen.x(), screen.y(), CurrentTime);
  sync();
}

void ScreenUser::buttonDown(int button) {
  XTestFakeButtonEvent(display_, static_cast<unsigned>(button), True, CurrentTime);
  sync();
}

void ScreenUser::buttonUp(int button) {
  XTestFakeButtonEvent(display_, static_cast<unsigned>(button), False, CurrentTime);
  sync();
}

void ScreenUser::click(QPoint screen, int button) {
  moveTo(screen);
  buttonDown(button);
  buttonUp(button);
}

void ScreenUser::pace() {
  // The server stamps events in milliseconds, and the toolkit takes a release
  // and a press of one key with the same stamp for the keyboard's repeat: no
  // hand is that fast, so neither is the person.
  const auto now = std::chrono::steady_clock::now();
  const auto next = lastKey_ + std::chrono::milliseconds(kKeyGapMs);
  if (now < next) std::this_thread::sleep_until(next);
  lastKey_ = std::chrono::steady_clock::now();
}

void ScreenUser::key(const char* name, bool down) {
  const KeySym sym = XStringToKeysym(name);
  if (sym == NoSymbol) throw std::invalid_argument(std::string("no X key named ") + name);
  const KeyCode code = XKeysymToKeycode(display_, sym);
  if (code == 0) throw std::invalid_argument(std::string("the X keyboard has no key ") + name);
  pace();
  XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime);
  sync();
}

void ScreenUser::keyDown(const char* name) { key(name, true); }

void ScreenUser::keyUp(const char* name) { key(name, false); }

void ScreenUser::tap(const char* name, const QStringList& modifiers) {
  for (const QString& m : modifiers) key(m.toLatin1().constData(), true);
  key(name, true);
  key(name, false);
  for (auto m = modifiers.crbegin(); m != modifiers.crend(); ++m) key(m->toLatin1().constData(), false);
}

void ScreenUser::setAutoRepeat(int delayMs, int intervalMs) {
  XAutoRepeatOn(display_);
  XkbSetAutoRepeatRate(display_, XkbUseCoreKbd, static_cast<unsigned>(delayMs), static_cast<unsigned>(intervalMs));
  sync();
}

QRect ScreenUser::screenRect() const {
  const int screen = DefaultScreen(display_);
  return QRect(0, 0, DisplayWidth(display_, screen), DisplayHeight(display_, screen));
}

QImage ScreenUser::grab(const QRect& screenArea) const {
  const QRect area = screenArea.intersected(screenRect());
  if (area.isEmpty()) return {};
  XImage* image = XGetImage(display_, DefaultRootWindow(display_), area.x(), area.y(),
                            static_cast<unsigned>(area.width()), static_cast<unsigned>(area.height()), AllPlanes,
                            ZPixmap);
  if (!image) return {};
  QImage result(area.size(), QImage::Format_RGB32);
  for (int y = 0; y < area.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < area.width(); ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      // A 24-bit TrueColor screen: red, green and blue in the masks' order.
      line[x] = qRgb(static_cast<int>((pixel & image->red_mask) >> 16), static_cast<int>((pixel & image->green_mask) >> 8),
                     static_cast<int>(pixel & image->blue_mask));
    }
  }
  XDestroyImage(image);
  return result;
}

QImage ScreenUser::grabScreen() const { return grab(screenRect()); }

}  // namespace qm::testing
