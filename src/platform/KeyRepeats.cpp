#include "platform/KeyRepeats.h"

#include <dlfcn.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QObject>
#include <QWindow>
#include <cstdlib>

namespace qm::platform {

namespace {

// Which keys the X server has down now, by key code (QueryKeymap). Loaded at
// run time from libxcb, the toolkit's own X library, so that the player does
// not link to it.
class ServerKeymap {
 public:
  ServerKeymap() {
#if QT_CONFIG(xcb)
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) connection_ = x11->connection();
#endif
    void* lib = connection_ ? dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL) : nullptr;
    if (!lib) return;
    query_ = reinterpret_cast<Query>(dlsym(lib, "xcb_query_keymap"));
    reply_ = reinterpret_cast<ReplyOf>(dlsym(lib, "xcb_query_keymap_reply"));
  }
  bool usable() const { return connection_ && query_ && reply_; }

  // Whether the key is down on the server (false when the server cannot say).
  bool down(quint32 keyCode) const {
    if (!usable() || keyCode >= 256) return false;
    Reply* reply = reply_(connection_, query_(connection_), nullptr);
    if (!reply) return false;
    const bool isDown = (reply->keys[keyCode / 8] >> (keyCode % 8)) & 1;
    std::free(reply);
    return isDown;
  }

 private:
  // The protocol's QueryKeymap request and reply, as libxcb lays them out.
  struct Cookie {
    unsigned int sequence;
  };
  struct Reply {
    quint8 responseType, pad;
    quint16 sequence;
    quint32 length;
    quint8 keys[32];
  };
  using Query = Cookie (*)(void* connection);
  using ReplyOf = Reply* (*)(void* connection, Cookie cookie, void** error);

  void* connection_ = nullptr;
  Query query_ = nullptr;
  ReplyOf reply_ = nullptr;
};

class KeyRepeatMarker : public QObject {
 public:
  explicit KeyRepeatMarker(QObject* parent) : QObject(parent) {}
  bool usable() const { return keymap_.usable(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusOut || type == QEvent::WindowDeactivate) repeatingKey_ = 0;
    // Only the window system's own key events, as they first reach a window.
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !event->spontaneous() ||
        !watched->isWindowType())
      return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const quint32 code = key->nativeScanCode();
    if (key->isAutoRepeat()) return false;  // the toolkit saw it already
    if (type == QEvent::KeyRelease) {
      if (code == 0 || !keymap_.down(code)) {
        repeatingKey_ = 0;
        return false;  // a real release
      }
      repeatingKey_ = code;
    } else {
      if (code == 0 || code != repeatingKey_) return false;  // a real press
    }
    // The same event, marked as the repeat it is.
    QKeyEvent marked(type, key->key(), key->modifiers(), key->nativeScanCode(), key->nativeVirtualKey(),
                     key->nativeModifiers(), key->text(), true, key->count(), key->device());
    marked.setTimestamp(key->timestamp());
    QCoreApplication::sendEvent(watched, &marked);
    return true;
  }

 private:
  ServerKeymap keymap_;
  quint32 repeatingKey_ = 0;  // the key whose release was a repeat: its next press is one too
};

}  // namespace

void markKeyRepeats() {
  static bool installed = false;
  if (installed || !qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb")) return;
  installed = true;
  auto* marker = new KeyRepeatMarker(qGuiApp);
  if (!marker->usable()) {
    delete marker;
    return;
  }
  qGuiApp->installEventFilter(marker);
}

}  // namespace qm::platform
