#include "platform/DisplayConnection.h"

#include <dlfcn.h>

#include <QByteArray>
#include <QtGlobal>
#include <optional>

namespace qm::platform {

namespace {

// The platform plugin the toolkit will load: QT_QPA_PLATFORM without its
// options ("offscreen:size=..." is offscreen), else X11, the default here.
QByteArray platformName() {
  QByteArray name = qgetenv("QT_QPA_PLATFORM").trimmed().toLower();
  const int colon = name.indexOf(':');
  if (colon >= 0) name.truncate(colon);
  return name.isEmpty() ? QByteArrayLiteral("xcb") : name;
}

// Opens and closes one X connection through libxcb, the library the toolkit's
// own X11 plugin uses. Loaded at run time so the player does not link to it.
// nullopt when the library cannot be loaded: then only the toolkit can tell.
std::optional<bool> canConnectToX() {
  void* lib = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
  if (!lib) return std::nullopt;
  using Connect = void* (*)(const char*, int*);
  using HasError = int (*)(void*);
  using Disconnect = void (*)(void*);
  auto connect = reinterpret_cast<Connect>(dlsym(lib, "xcb_connect"));
  auto hasError = reinterpret_cast<HasError>(dlsym(lib, "xcb_connection_has_error"));
  auto disconnect = reinterpret_cast<Disconnect>(dlsym(lib, "xcb_disconnect"));
  std::optional<bool> result;
  if (connect && hasError && disconnect) {
    void* connection = connect(nullptr, nullptr);  // DISPLAY from the environment
    result = connection && hasError(connection) == 0;
    // A failed connection is still an object to free.
    if (connection) disconnect(connection);
  }
  dlclose(lib);
  return result;
}

}  // namespace

bool IsHeadlessPlatform() {
  const QByteArray name = platformName();
  return name == "offscreen" || name == "minimal";
}

DisplayCheck CheckDisplay() {
  if (platformName() != "xcb") return {};
  const QByteArray display = qgetenv("DISPLAY");
  if (display.isEmpty()) return {false, QStringLiteral("DISPLAY is not set")};
  const auto connected = canConnectToX();
  if (connected && !*connected)
    return {false, QStringLiteral("cannot connect to the X display '%1'").arg(QString::fromLocal8Bit(display))};
  return {};
}

}  // namespace qm::platform
