#include "startup/Cursor.h"

#include <QImage>
#include <QPixmap>
#include <QVariant>
#include <QWidget>

#include "platform/FileResolver.h"
#include "platform/VbError.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"

namespace qm::startup {
namespace {

uint16_t le16(const QByteArray& b, int at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

}  // namespace

std::optional<QCursor> loadCursorFile(const QString& path) {
  QByteArray bytes;
  try {
    bytes = platform::readWholeFile(path);
  } catch (const VbError&) {
    return std::nullopt;
  }
  QImage image;
  if (!image.loadFromData(bytes, "ICO") && !image.loadFromData(bytes)) return std::nullopt;
  if (image.isNull()) return std::nullopt;
  // A cursor file (type 2) keeps the hot spot of its first image in the directory entry.
  int hotX = -1, hotY = -1;
  if (bytes.size() >= 22 && le16(bytes, 0) == 0 && le16(bytes, 2) == 2) {
    hotX = le16(bytes, 10);
    hotY = le16(bytes, 12);
    if (hotX >= image.width() || hotY >= image.height()) hotX = hotY = -1;
  }
  return QCursor(QPixmap::fromImage(image), hotX, hotY);
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
