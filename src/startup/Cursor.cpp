#include "startup/Cursor.h"

#include <QImage>
#include <QPixmap>
#include <QVariant>
#include <QWidget>

#include "platform/FileResolver.h"
#include "platform/IconFile.h"
#include "platform/VbError.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"

namespace qm::startup {

std::optional<QCursor> loadCursorFile(const QString& path) {
  QByteArray bytes;
  try {
    bytes = platform::readWholeFile(path);
  } catch (const VbError&) {
    return std::nullopt;
  }
  if (auto icon = platform::decodeIconFile(bytes)) {
    return QCursor(QPixmap::fromImage(icon->image), icon->hotSpot.x(), icon->hotSpot.y());
  }
  QImage image;
  if (!image.loadFromData(bytes) || image.isNull()) return std::nullopt;
  return QCursor(QPixmap::fromImage(image));  // a plain picture points at its centre
}

void ApplyDefaultCursor(QWidget* control) {
  if (!control) return;
  try {
    const QString pointer = project().info.defaultMousePointer;
    if (pointer.isEmpty() || pointer.toLower() == QStringLiteral("default")) {
      control->setProperty("MousePointer", 0);
      control->setProperty("MouseIcon", QVariant::fromValue(QPixmap()));
      control->unsetCursor();
      return;
    }
    const QString file = LocateMediaFile(project().paths.icons + pointer);
    const auto cursor = loadCursorFile(file);
    if (!cursor) return;
    control->setProperty("MouseIcon", QVariant::fromValue(cursor->pixmap()));
    control->setProperty("MousePointer", 99);
    control->setCursor(*cursor);
  } catch (...) {
  }
}

}  // namespace qm::startup
