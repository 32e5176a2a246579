#include "support/RawNamedFiles.h"

#include <QDir>
#include <QFile>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm::testing {
namespace {

void removeInside(const QByteArray& folder) {
  DIR* dir = ::opendir(folder.constData());
  if (!dir) return;
  while (dirent* e = ::readdir(dir)) {
    const QByteArray name(e->d_name);
    if (name == "." || name == "..") continue;
    const QByteArray path = folder + '/' + name;
    struct stat st{};
    if (::lstat(path.constData(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      removeInside(path);
      ::rmdir(path.constData());
    } else {
      ::unlink(path.constData());
    }
  }
  ::closedir(dir);
}

}  // namespace

void removeContentsByBytes(const QByteArray& folder) {
  QByteArray temp = QFile::encodeName(QDir::tempPath());
  while (temp.endsWith('/')) temp.chop(1);
  QByteArray f = folder;
  while (f.endsWith('/')) f.chop(1);
  // Only ever inside the temporary folder, never the temporary folder itself.
  if (temp.isEmpty() || !f.startsWith(temp + '/') || f.size() <= temp.size() + 1 || f.contains("/../")) return;
  removeInside(f);
}

}  // namespace qm::testing
