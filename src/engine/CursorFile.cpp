#include "engine/CursorFile.h"

#include <QFile>
#include <QPixmap>

#include "engine/PictureCache.h"
#include "engine/controls/VbControl.h"
#include "platform/FileResolver.h"
#include "platform/FileConfinement.h"
#include "platform/IconFile.h"
#include "platform/NativeFile.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"

namespace qm::engine {

std::optional<QCursor> loadCursorFile(const QString& nativePath) {
  QFile f;
  if (!platform::isInsideConfinement(nativePath) || !platform::openForReading(f, nativePath)) return std::nullopt;
  const QByteArray bytes = f.read(4 * 1024 * 1024);
  f.close();
  if (auto icon = platform::decodeIconFile(bytes)) {
    return QCursor(QPixmap::fromImage(icon->image), icon->hotSpot.x(), icon->hotSpot.y());
  }
  if (auto pic = PictureCache::instance().load(nativePath)) {
    return QCursor(QPixmap::fromImage(*pic), pic->width() / 2, pic->height() / 2);
  }
  return std::nullopt;
}

bool isDefaultPointer(const QString& p) { return p.isEmpty() || p.toLower() == QLatin1String("default"); }

void ApplyDefaultCursor(VbControl& control) {
  const QString pointer = startup::project().info.defaultMousePointer;
  if (isDefaultPointer(pointer)) {
    control.setMousePointer(kPointerDefault);
    control.setMouseIcon(QString());
    return;
  }
  control.setMouseIcon(DefaultCursorIcon());
  control.setMousePointer(kPointerCustom);
}

QString DefaultCursorIcon() {
  const QString pointer = startup::project().info.defaultMousePointer;
  if (isDefaultPointer(pointer)) return {};
  const QString located = startup::LocateMediaFile(startup::project().paths.icons + pointer);
  return platform::resolveExisting(located).value_or(QString());
}

}  // namespace qm::engine
