// A private X server for the real-window tests: Xvfb on a display number it
// picks itself (so test programs running side by side never share one), gone
// when the test program ends, however it ends.
#pragma once

#include <QByteArray>
#include <QSize>
#include <sys/types.h>

namespace qm::testing {

class XvfbServer {
 public:
  // Starts Xvfb with one screen of the given size and 24-bit colour and waits
  // until it takes connections. Throws std::runtime_error when it cannot.
  explicit XvfbServer(QSize screen);
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  // ":N", the value for DISPLAY.
  QByteArray displayName() const { return displayName_; }

 private:
  pid_t pid_ = -1;
  QByteArray displayName_;
};

}  // namespace qm::testing
