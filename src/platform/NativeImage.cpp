#include "platform/NativeImage.h"

#include <QFile>
#include <QImageReader>

#include "platform/NativeFile.h"

namespace qm::platform {

QImage readImageFile(const QString& nativePath) {
  QFile file;
  if (!openForReading(file, nativePath)) return {};
  const qsizetype dot = nativePath.lastIndexOf(u'.');
  const QByteArray hint =
      dot > nativePath.lastIndexOf(u'/') ? nativePath.mid(dot + 1).toLower().toLatin1() : QByteArray();
  QImageReader reader(&file, hint);
  reader.setDecideFormatFromContent(true);
  return reader.read();
}

}  // namespace qm::platform
