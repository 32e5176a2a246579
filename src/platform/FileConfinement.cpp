#include "platform/FileConfinement.h"

#include "platform/NativeName.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>
#include <unistd.h>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace qm::platform {
namespace {

std::mutex gMutex;
QStringList gRoots;  // real paths, no trailing '/' (except "/")

QString realOrEmpty(const QString& path) {
  char buffer[PATH_MAX];
  if (!::realpath(bytesOfName(path).constData(), buffer)) return {};
  return nameFromBytes(buffer, qsizetype(std::strlen(buffer)));
}

QString rootFor(const QString& folder) {
  QString real = realPathOf(folder);
  while (real.size() > 1 && real.endsWith(u'/')) real.chop(1);
  return real;
}

// The target of a link that leads nowhere, as a path; "" for anything else.
QString danglingTarget(const QString& path) {
  const QByteArray bytes = bytesOfName(path);
  struct stat st{};
  if (::lstat(bytes.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return {};
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink(bytes.constData(), buffer, sizeof buffer);
  if (n <= 0) return {};
  const QString target = nameFromBytes(buffer, qsizetype(n));
  if (target.startsWith(u'/')) return target;
  return path.left(path.lastIndexOf(u'/') + 1) + target;
}

QString realPathOf(const QString& nativePath, int linksLeft) {
  QString path = nativePath;
  if (!QDir::isAbsolutePath(path)) path = QDir::currentPath() + u'/' + path;
  // The deepest existing part, links resolved; the names after it do not
  // exist, so they are applied as text. A link that leads nowhere counts as
  // the place it leads to: what would be created there.
  QStringList tail;
  QString head = path;
  QString real = realOrEmpty(head);
  while (real.isEmpty()) {
    while (head.size() > 1 && head.endsWith(u'/')) head.chop(1);
    if (const QString target = danglingTarget(head); !target.isEmpty()) {
      if (linksLeft <= 0) return QStringLiteral("/");
      QString rest = target;
      for (const QString& part : tail) rest += u'/' + part;
      return realPathOf(rest, linksLeft - 1);
    }
    const qsizetype cut = head.lastIndexOf(u'/');
    if (cut <= 0) {
      if (head.size() > 1) tail.prepend(head.mid(1));
      real = QStringLiteral("/");
      break;
    }
    tail.prepend(head.mid(cut + 1));
    head = head.left(cut);
    real = realOrEmpty(head);
  }
  for (const QString& part : tail) {
    for (const QString& name : part.split(u'/', Qt::SkipEmptyParts)) {
      if (name == u'.') continue;
      if (name == QStringLiteral("..")) {
        const qsizetype cut = real.lastIndexOf(u'/');
        real = cut <= 0 ? QStringLiteral("/") : real.left(cut);
        continue;
      }
      if (!real.endsWith(u'/')) real += u'/';
      real += name;
    }
  }
  return real;
}

}  // namespace

QString realPathOf(const QString& nativePath) { return realPathOf(nativePath, 40); }

bool isInsideFolder(const QString& realPath, const QString& realFolder) {
  QString folder = realFolder;
  while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
  if (folder == QStringLiteral("/")) return realPath.startsWith(u'/');
  return realPath == folder || (realPath.startsWith(folder) && realPath.at(folder.size()) == u'/');
}

void setConfinementRoots(const QStringList& folders) {
  QStringList roots;
  for (const QString& f : folders)
    if (!f.isEmpty()) roots << rootFor(f);
  std::lock_guard lock(gMutex);
  gRoots = roots;
}

void addConfinementRoot(const QString& folder) {
  if (folder.isEmpty()) return;
  const QString root = rootFor(folder);
  std::lock_guard lock(gMutex);
  if (!gRoots.contains(root)) gRoots << root;
}

void removeConfinementRoot(const QString& folder) {
  const QString root = rootFor(folder);
  std::lock_guard lock(gMutex);
  gRoots.removeAll(root);
}

QStringList confinementRoots() {
  std::lock_guard lock(gMutex);
  return gRoots;
}

bool isInsideConfinement(const QString& nativePath) {
  const QStringList roots = confinementRoots();
  if (roots.isEmpty()) return true;
  if (nativePath.isEmpty() || nativePath.contains(QChar(0))) return false;
  const QString real = realPathOf(nativePath);
  for (const QString& root : roots)
    if (isInsideFolder(real, root)) return true;
  return false;
}

ScopedConfinement::ScopedConfinement(const QStringList& folders) : previous_(confinementRoots()) {
  setConfinementRoots(folders);
}

ScopedConfinement::~ScopedConfinement() {
  std::lock_guard lock(gMutex);
  gRoots = previous_;
}

}  // namespace qm::platform
