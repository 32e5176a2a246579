#include "platform/FileResolver.h"
#include "platform/FileConfinement.h"
#include "platform/Wildcard.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <dirent.h>
#include <mutex>
#include <sys/stat.h>

#include "platform/VbError.h"

namespace qm::platform {
namespace {

struct Listing {
  timespec mtime{};
  timespec listedAt{};               // when the folder was read
  QStringList names;                 // in the order the folder gives them
  QSet<QString> exact;
  QHash<QString, QString> byFolded;  // case-folded name -> first real name
};

std::mutex gMutex;
QHash<QString, Listing> gListings;  // key: real folder path ending in '/'

bool sameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

// The cached listing of a real folder, refreshed when the folder changed.
// Caller holds gMutex. nullptr when the folder cannot be read.
const Listing* listingOf(const QString& folder, bool refresh = false) {
  const QByteArray native = QFile::encodeName(folder);
  struct stat st{};
  if (::stat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    gListings.remove(folder);
    return nullptr;
  }
  auto it = gListings.find(folder);
  if (!refresh && it != gListings.end() && sameTime(it->mtime, st.st_mtim)) return &*it;

  DIR* dir = ::opendir(native.constData());
  if (!dir) return nullptr;
  Listing listing;
  listing.mtime = st.st_mtim;
  ::clock_gettime(CLOCK_REALTIME, &listing.listedAt);
  while (dirent* entry = ::readdir(dir)) {
    const char* n = entry->d_name;
    if ((n[0] == '.' && n[1] == 0) || (n[0] == '.' && n[1] == '.' && n[2] == 0)) continue;
    QString name = QFile::decodeName(n);
    const QString folded = name.toCaseFolded();
    if (!listing.byFolded.contains(folded)) listing.byFolded.insert(folded, name);
    listing.exact.insert(name);
    listing.names.push_back(std::move(name));
  }
  ::closedir(dir);
  return &*gListings.insert(folder, std::move(listing));
}

// The real name in the folder of an entry named like `name` (exact match
// first), or "".
QString findEntry(const QString& folder, const QString& name) {
  const Listing* listing = listingOf(folder);
  if (!listing) {
    // A folder we may pass through but not list (permission to search only):
    // only the exact name can be found there.
    struct stat st{};
    return ::stat(QFile::encodeName(folder + name).constData(), &st) == 0 ? name : QString();
  }
  if (listing->exact.contains(name)) return name;
  QString real = listing->byFolded.value(name.toCaseFolded());
  // A folder changed within the time-stamp resolution of its file system may
  // change again without its time stamp moving: read it again before saying no.
  if (real.isEmpty() && listing->listedAt.tv_sec - listing->mtime.tv_sec < 2) {
    listing = listingOf(folder, true);
    if (!listing) return {};
    if (listing->exact.contains(name)) return name;
    real = listing->byFolded.value(name.toCaseFolded());
  }
  return real;
}

bool isDriveSpec(const QString& p) {
  return p.size() >= 2 && p[1] == u':' && p[0].isLetter();
}

// Splits a game path into the folder it starts from and its components.
// Returns false for paths that cannot name anything here.
bool split(const QString& path, QString& start, QStringList& parts) {
  if (path.isEmpty() || isDriveSpec(path) || path.contains(QChar(0))) return false;
  QString p = path;
  p.replace(u'\\', u'/');
  if (p.startsWith(u'/')) {
    start = QStringLiteral("/");
  } else {
    start = QDir::currentPath();
    if (!start.endsWith(u'/')) start += u'/';
  }
  parts = p.split(u'/', Qt::SkipEmptyParts);
  return true;
}

QString parentOf(const QString& folder) {
  // folder ends in '/'
  if (folder == QStringLiteral("/")) return folder;
  const qsizetype cut = folder.lastIndexOf(u'/', folder.size() - 2);
  return cut < 0 ? QStringLiteral("/") : folder.left(cut + 1);
}

bool isFolder(const QString& native) {
  struct stat st{};
  return ::stat(QFile::encodeName(native).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A regular file: not a folder, and not a pipe or device a read would hang on.
bool isPlainFile(const QString& native) {
  struct stat st{};
  return ::stat(QFile::encodeName(native).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

// Resolves every component; the result has no trailing '/' (except "/").
std::optional<QString> resolveLocked(const QString& path) {
  QString current;
  QStringList parts;
  if (!split(path, current, parts)) return std::nullopt;
  // The common case: the path names an existing entry exactly.
  if (!parts.contains(QStringLiteral(".")) && !parts.contains(QStringLiteral(".."))) {
    const QString direct = current + parts.join(u'/');
    struct stat st{};
    if (::stat(QFile::encodeName(direct).constData(), &st) == 0) {
      return direct.size() > 1 && direct.endsWith(u'/') ? direct.chopped(1) : direct;
    }
  }
  for (qsizetype i = 0; i < parts.size(); ++i) {
    const QString& part = parts[i];
    if (part == u'.') continue;
    if (part == QStringLiteral("..")) {
      current = parentOf(current);
      continue;
    }
    const QString real = findEntry(current, part);
    if (real.isEmpty()) return std::nullopt;
    current += real;
    if (i + 1 < parts.size()) {
      if (!isFolder(current)) return std::nullopt;
      current += u'/';
    }
  }
  if (current.size() > 1 && current.endsWith(u'/')) current.chop(1);
  return current;
}

bool hasWildcards(const QString& s) { return s.contains(u'*') || s.contains(u'?'); }

}  // namespace

QString toNativeSeparators(const QString& path) {
  QString p = path;
  p.replace(u'\\', u'/');
  while (p.contains(QStringLiteral("//"))) p.replace(QStringLiteral("//"), QStringLiteral("/"));
  return p;
}

std::optional<QString> resolveExisting(const QString& path) {
  std::optional<QString> real;
  {
    std::lock_guard lock(gMutex);
    real = resolveLocked(path);
  }
  // The one confinement check: outside the game's folder is as good as missing.
  if (real && !isInsideConfinement(*real)) return std::nullopt;
  return real;
}

bool fileExists(const QString& path) {
  if (path.endsWith(u'/') || path.endsWith(u'\\')) return false;
  const auto real = resolveExisting(path);
  return real && isPlainFile(*real);
}

bool folderExists(const QString& path) {
  const auto real = resolveExisting(path);
  return real && isFolder(*real);
}

QString resolveForWrite(const QString& path) {
  std::lock_guard lock(gMutex);
  QString start;
  QStringList parts;
  if (!split(path, start, parts) || parts.isEmpty()) return toNativeSeparators(path);
  const QString last = parts.takeLast();
  // The folder: resolved as far as it exists, the rest kept as given.
  QString current = start;
  bool exists = true;
  for (const QString& part : parts) {
    if (part == u'.') continue;
    if (part == QStringLiteral("..")) {
      current = parentOf(current);
      continue;
    }
    QString real = exists ? findEntry(current, part) : QString();
    if (real.isEmpty()) {
      exists = false;
      real = part;
    }
    current += real + u'/';
  }
  if (exists) {
    const QString real = findEntry(current, last);
    if (!real.isEmpty()) return current + real;
  }
  return current + last;
}

QString safeDir(const QString& path) {
  QString p = path;
  p.replace(u'\\', u'/');
  const qsizetype cut = p.lastIndexOf(u'/');
  const QString title = p.mid(cut + 1);
  if (title.isEmpty()) return {};
  if (hasWildcards(title)) {
    // Like a directory look-up with a pattern: the first plain file that matches.
    const QString folder = cut < 0 ? QStringLiteral(".") : (cut == 0 ? QStringLiteral("/") : p.left(cut));
    const auto realFolder = resolveExisting(folder);
    if (!realFolder || !isFolder(*realFolder)) return {};
    const QString base = realFolder->endsWith(u'/') ? *realFolder : *realFolder + u'/';
    for (const QString& name : listFolder(base)) {
      if (matchesWildcard(name, title, Qt::CaseInsensitive) && isPlainFile(base + name) &&
          isInsideConfinement(base + name))
        return name;
    }
    return {};
  }
  const auto real = resolveExisting(path);
  if (!real || !isPlainFile(*real)) return {};
  return real->mid(real->lastIndexOf(u'/') + 1);
}

QByteArray readWholeFile(const QString& path) {
  const auto real = resolveExisting(path);
  if (!real || !isPlainFile(*real)) throw VbError::fileNotFound(path);
  QFile f(*real);
  if (!f.open(QIODevice::ReadOnly)) {
    VbError e = VbError::of(75);
    e.path = path;
    throw e;
  }
  return f.readAll();
}

void writeWholeFile(const QString& path, const QByteArray& bytes) {
  const QString target = resolveForWrite(path);
  const qsizetype cut = target.lastIndexOf(u'/');
  if (cut > 0 && !isFolder(target.left(cut))) throw VbError::pathNotFound(path);
  // Only plain files inside the game's folder, never through a link that leads out.
  struct stat st{};
  const bool exists = ::stat(QFile::encodeName(target).constData(), &st) == 0;
  if (!isInsideConfinement(target) || (exists && !S_ISREG(st.st_mode))) {
    throw VbError::permissionDenied(path);
  }
  // Written beside the target and renamed over it: a failure half-way never
  // leaves a damaged file where a good one was.
  QSaveFile f(target);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
    VbError e = VbError::of(75);
    e.path = path;
    throw e;
  }
}

QStringList listFolder(const QString& folder) {
  const auto real = resolveExisting(folder);
  if (!real) return {};
  std::lock_guard lock(gMutex);
  const QString key = real->endsWith(u'/') ? *real : *real + u'/';
  const Listing* listing = listingOf(key);
  return listing ? listing->names : QStringList();
}

void forgetCachedListings() {
  std::lock_guard lock(gMutex);
  gListings.clear();
}

}  // namespace qm::platform
