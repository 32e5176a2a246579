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

bool openForReading(QFile& file, const QString& nativePath) {
  if (nativePath.isEmpty() || nativePath.contains(QChar(0))) return false;
  // Non-blocking, so that a pipe named like a picture cannot hang the open.
  const int fd = ::open(bytesOfName(nativePath).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st{};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return false;
  }
  return true;
}

std::optional<QByteArray> readFileAt(const QString& nativePath) {
  QFile f;
  if (!openForReading(f, nativePath)) return std::nullopt;
  QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError) return std::nullopt;
  return bytes;
}

bool writeFileAtomically(const QString& nativePath, const QByteArray& bytes, QString* error) {
  const QByteArray target = bytesOfName(nativePath);
  QByteArray temp = target + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    if (error) *error = reason();
    return false;
  }
  // An existing file keeps its permissions; a new one gets the usual ones.
  struct stat st{};
  if (::stat(target.constData(), &st) == 0) {
    ::fchmod(fd, st.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  qsizetype done = 0;
  bool ok = true;
  while (ok && done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else done += n;
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (ok) {
    ok = ::close(fd) == 0;
  } else {
    const int saved = errno;
    ::close(fd);
    errno = saved;
  }
  if (ok && ::rename(temp.constData(), target.constData()) != 0) ok = false;
  if (!ok) {
    if (error) *error = reason();
    ::unlink(temp.constData());
  }
  return ok;
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
