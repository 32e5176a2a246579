#include "distribution/GameArchive.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <filesystem>
#include <system_error>
#include <unistd.h>
#include <stdlib.h>

#include "platform/NativeFile.h"
#include "platform/NativeName.h"

namespace qm::distribution {

namespace {

namespace fs = std::filesystem;

fs::path pathOf(const QString& nativePath) { return fs::path(platform::bytesOfName(nativePath).toStdString()); }
QString nameOf(const fs::path& path) { return platform::nameFromBytes(QByteArray::fromStdString(path.native())); }

bool sameLetters(const std::string& name, const char* lowerAscii) {
  if (name.size() != std::strlen(lowerAscii)) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    char c = name[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lowerAscii[i]) return false;
  }
  return true;
}

// A child of `folder` whose name is `lowerAscii` in any letter case.
bool hasChild(const fs::path& folder, const char* lowerAscii, bool wantFolder, fs::path* found = nullptr) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!sameLetters(it->path().filename().native(), lowerAscii)) continue;
    const fs::file_status st = it->symlink_status(ec);
    if (ec) continue;
    if (wantFolder ? fs::is_directory(st) : fs::is_regular_file(st)) {
      if (found) *found = it->path();
      return true;
    }
  }
  return false;
}

bool holdsProjectInformation(const fs::path& folder) {
  fs::path config;
  return hasChild(folder, "config", true, &config) && hasChild(config, "general", false);
}

// "Great Game v1.2.tar.gz" -> "Great Game v1.2"; an archive name never names a
// folder with a slash or a leading dot.
QString shortName(const QString& archivePath) {
  QString name = QFileInfo(archivePath).fileName();
  for (const char* suffix : {".gz", ".bz2", ".xz", ".lzma", ".lz", ".zst", ".Z"}) {
    if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive) && name.size() > int(std::strlen(suffix))) {
      name.chop(int(std::strlen(suffix)));
      break;
    }
  }
  const int dot = name.lastIndexOf('.');
  if (dot > 0) name.truncate(dot);
  while (name.startsWith('.')) name.remove(0, 1);
  if (name.isEmpty()) name = QStringLiteral("game");
  return name;
}

// Which archive this is: its place, size and last change. A changed archive
// gets a new folder; the old one stays until the cache is cleared.
QString hashOf(const QString& archivePath, const platform::FileStamp& stamp) {
  QCryptographicHash hash(QCryptographicHash::Sha1);
  hash.addData(platform::bytesOfName(QFileInfo(archivePath).absoluteFilePath()));
  hash.addData(QByteArray::number(stamp.size));
  hash.addData(QByteArray::number(stamp.modified.toMSecsSinceEpoch()));
  return QString::fromLatin1(hash.result().toHex().left(16));
}

ArchivedGame gameIn(const QString& unpacked, const QString& archivePath) {
  ArchivedGame game;
  game.folder = findGameFolder(unpacked);
  if (game.folder.isEmpty())
    game.error = QStringLiteral("%1 holds no game: no folder in it has the project information file Config\\General")
                     .arg(platform::readableName(archivePath));
  return game;
}

// Unpackings left behind by a player that was killed half-way. One a day old
// belongs to no running player any more.
void removeStaleUnpackings(const QString& cacheFolder) {
  const auto now = fs::file_time_type::clock::now();
  std::vector<fs::path> stale;
  std::error_code ec;
  for (fs::directory_iterator it(pathOf(cacheFolder), ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().filename().native().rfind(".unpacking-", 0) != 0) continue;
    std::error_code timeEc;
    const auto changed = fs::last_write_time(it->path(), timeEc);
    if (!timeEc && now - changed > std::chrono::hours(24)) stale.push_back(it->path());
  }
  for (const fs::path& p : stale) fs::remove_all(p, ec);
}

}  // namespace

QString archiveCacheFolder() {
  QString home = qEnvironmentVariable("XDG_CACHE_HOME");
  if (home.isEmpty() || !QDir::isAbsolutePath(home)) home = QDir::homePath() + QStringLiteral("/.cache");
  return QDir::cleanPath(home + QStringLiteral("/quillmere/archives"));
}

QString findGameFolder(const QString& root) {
  // Breadth first, so the shallowest game wins; links are never followed.
  std::deque<fs::path> folders{pathOf(root)};
  while (!folders.empty()) {
    const fs::path folder = folders.front();
    folders.pop_front();
    if (holdsProjectInformation(folder)) return nameOf(folder);
    std::vector<fs::path> children;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      std::error_code stEc;
      if (fs::is_directory(it->symlink_status(stEc))) children.push_back(it->path());
    }
    // Byte order: the same archive always gives the same game.
    std::sort(children.begin(), children.end());
    folders.insert(folders.end(), children.begin(), children.end());
  }
  return {};
}

bool isUnpackedArchiveFolder(const QString& folder, const QString& cacheFolder) {
  const QString cache = QDir::cleanPath(cacheFolder) + '/';
  return QDir::cleanPath(folder).startsWith(cache);
}

ArchivedGame openGameArchive(const QString& archivePath, const QString& cacheFolder, const ArchiveLimits& limits) {
  ArchivedGame failed;
  const auto stamp = platform::stampOf(archivePath);
  if (!stamp) {
    failed.error = QStringLiteral("cannot read %1").arg(platform::readableName(archivePath));
    return failed;
  }
  const QString finalFolder = cacheFolder + '/' + shortName(archivePath) + '-' + hashOf(archivePath, *stamp);
  if (platform::isFolderAt(finalFolder)) return gameIn(finalFolder, archivePath);

  if (!QDir().mkpath(cacheFolder)) {
    failed.error = QStringLiteral("cannot make the cache folder %1").arg(platform::readableName(cacheFolder));
    return failed;
  }
  removeStaleUnpackings(cacheFolder);
  // Removed with all it holds unless it becomes the finished folder (by its
  // bytes: entry names need not be UTF-8).
  std::string unpackingBytes = platform::bytesOfName(cacheFolder).toStdString() + "/.unpacking-XXXXXX";
  if (!::mkdtemp(unpackingBytes.data())) {
    failed.error = QStringLiteral("cannot unpack into %1: %2")
                       .arg(platform::readableName(cacheFolder), QString::fromLocal8Bit(std::strerror(errno)));
    return failed;
  }
  const fs::path unpacking(unpackingBytes);
  struct RemoveUnlessKept {
    fs::path path;
    bool keep = false;
    ~RemoveUnlessKept() {
      std::error_code ignored;
      if (!keep) fs::remove_all(path, ignored);
    }
  } cleanup{unpacking};

  const ArchiveOutcome outcome =
      unpackArchive(platform::bytesOfName(archivePath).toStdString(), unpackingBytes, limits);
  if (!outcome.ok) {
    failed.error = QStringLiteral("cannot unpack %1: %2")
                       .arg(platform::readableName(archivePath), QString::fromUtf8(outcome.error.c_str()));
    return failed;
  }
  const ArchivedGame inTemporary = gameIn(nameOf(unpacking), archivePath);
  if (inTemporary.folder.isEmpty()) return inTemporary;
  const QString inside = platform::nameFromBytes(
      QByteArray::fromStdString(fs::path(platform::bytesOfName(inTemporary.folder).toStdString())
                                    .lexically_relative(unpacking)
                                    .native()));

  std::error_code ec;
  fs::rename(unpacking, pathOf(finalFolder), ec);
  if (!ec) {
    cleanup.keep = true;
  } else if (!platform::isFolderAt(finalFolder)) {
    // (Another player that unpacked the same archive meanwhile is fine: its folder is used.)
    failed.error = QStringLiteral("cannot keep the unpacked game in %1: %2")
                       .arg(platform::readableName(finalFolder), QString::fromStdString(ec.message()));
    return failed;
  }
  ArchivedGame game;
  game.folder = QDir::cleanPath(finalFolder + '/' + inside);
  return game;
}

}  // namespace qm::distribution
