#include "support/FolderCopy.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace qm::testing {

bool copyFolderInto(const QString& source, const QString& target, const QString& scratchRoot) {
  const QString root = QDir(scratchRoot).absolutePath();
  const QString to = QDir(target).absolutePath();
  if (scratchRoot.isEmpty() || !to.startsWith(root + '/')) return false;
  const QDir from(source);
  QDirIterator it(from.path(), QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString file = it.next();
    const QString copy = to + '/' + from.relativeFilePath(file);
    if (!QDir().mkpath(QFileInfo(copy).path()) || !QFile::copy(file, copy)) return false;
  }
  return true;
}

}  // namespace qm::testing
