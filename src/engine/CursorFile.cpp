#include "engine/CursorFile.h"

#include <QFile>
#include <QPixmap>

#include "engine/PictureCache.h"
#include "platform/FileConfinement.h"
#include "platform/IconFile.h"
#include "platform/NativeFile.h"

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

}  // namespace qm::engine
