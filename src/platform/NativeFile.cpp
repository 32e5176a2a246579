#include "platform/NativeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileConfinement.h"
#include "platform/GameFileOpen.h"
#include "platform/NativeName.h"

namespace qm::platform {
namespace {

bool statOf(const QString& nativePath, struct stat& st) {
  if (nativePath.isEmpty() || nativePath.contains(QChar(0))) return false;
  return ::stat(bytesOfName(nativePath).constData(), &st) == 0;
}

QString reason() { return QString::fromLocal8Bit(std::strerror(errno)); }

}  // namespace

bool isPlainFileAt(const QString& nativePath) {
  struct stat st{};
  return statOf(nativePath, st) && S_ISREG(st.st_mode);
}

bool isFolderAt(const QString& nativePath) {
  struct stat st{};
  return statOf(nativePath, st) && S_ISDIR(st.st_mode);
}

std::optional<FileStamp> stampOf(const QString& nativePath) {
  struct stat st{};
  if (!statOf(nativePath, st) || !S_ISREG(st.st_mode)) return std::nullopt;
  const qint64 ms = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
  return FileStamp{qint64(st.st_size), QDateTime::fromMSecsSinceEpoch(ms)};
}

std::vector<std::string> rootsFor(const QStringList& realFolders) {
  std::vector<std::string> roots;
  roots.reserve(size_t(realFolders.size()));
  for (const QString& f : realFolders) roots.push_back(bytesOfName(f).toStdString());
  return roots;
}

bool openForReadingWithin(QFile& file, const QString& nativePath, const QStringList& realFolders) {
  if (nativePath.isEmpty() || nativePath.contains(QChar(0))) return false;
  const int fd = openGameFile(bytesOfName(nativePath).toStdString(), OpenFor::Reading, rootsFor(realFolders));
  if (fd < 0) return false;
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return false;
  }
  return true;
}

bool openForReading(QFile& file, const QString& nativePath) {
  return openForReadingWithin(file, nativePath, confinementRoots());
}

std::optional<QByteArray> readFileAt(const QString& nativePath) {
  QFile f;
  if (!openForReading(f, nativePath)) return std::nullopt;
  QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError) return std::nullopt;
  return bytes;
}

bool writeFileAtomicallyWithin(const QString& nativePath, const QByteArray& bytes, const QStringList& realFolders,
                               QString* error, const std::function<void()>& beforeRename) {
  if (nativePath.isEmpty() || nativePath.contains(QChar(0))) {
    if (error) *error = QString::fromLocal8Bit(std::strerror(ENOENT));
    return false;
  }
  const bool ok = replaceGameFile(bytesOfName(nativePath).toStdString(), bytes.toStdString(), rootsFor(realFolders),
                                  beforeRename);
  if (!ok && error) *error = reason();
  return ok;
}

bool writeFileAtomically(const QString& nativePath, const QByteArray& bytes, QString* error) {
  return writeFileAtomicallyWithin(nativePath, bytes, confinementRoots(), error);
}

std::optional<QStringList> entriesOf(const QString& nativeFolder) {
  if (nativeFolder.isEmpty() || nativeFolder.contains(QChar(0))) return std::nullopt;
  DIR* dir = ::opendir(bytesOfName(nativeFolder).constData());
  if (!dir) return std::nullopt;
  std::vector<QByteArray> raw;
  while (dirent* entry = ::readdir(dir)) {
    const char* n = entry->d_name;
    if ((n[0] == '.' && n[1] == 0) || (n[0] == '.' && n[1] == '.' && n[2] == 0)) continue;
    raw.emplace_back(n);
  }
  ::closedir(dir);
  // Byte order: the same order on every disk and every run.
  std::sort(raw.begin(), raw.end());
  QStringList names;
  names.reserve(qsizetype(raw.size()));
  for (const QByteArray& bytes : raw) names << nameFromBytes(bytes);
  return names;
}

bool removeFileAt(const QString& nativePath) {
  if (!isPlainFileAt(nativePath)) return false;
  return ::unlink(bytesOfName(nativePath).constData()) == 0;
}

}  // namespace qm::platform
