#include "platform/FileResolver.h"
#include "platform/FileConfinement.h"
#include "platform/NativeFile.h"
#include "platform/NativeName.h"
#include "platform/Wildcard.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <dirent.h>
#include <vector>
#include <mutex>
#include <sys/stat.h>

#include "platform/VbError.h"

namespace qm::platform {
namespace {

struct Listing {
  timespec mtime{};
  timespec listedAt{};               // when the folder was read
  QStringList names;                 // native names, in the byte order of their names
  QHash<QString, QString> exact;     // a reading of a name -> the name that reads so
  QHash<QString, QString> byFolded;  // folded reading -> first name in byte order
};

std::mutex gMutex;
QHash<QString, Listing> gListings;
std::function<void(const QString&)> gListingHook;  // key: real folder path ending in '/'

bool sameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

bool statNative(const QString& native, struct stat& st) {
  return ::stat(bytesOfName(native).constData(), &st) == 0;
}

// The cached listing of a real folder, refreshed when the folder changed.
// Caller holds gMutex. nullptr when the folder cannot be read.
const Listing* listingOf(const QString& folder, bool refresh = false) {
  const QByteArray native = bytesOfName(folder);
  struct stat st{};
  if (::stat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    gListings.remove(folder);
    return nullptr;
  }
  auto it = gListings.find(folder);
  if (!refresh && it != gListings.end() && sameTime(it->mtime, st.st_mtim)) return &*it;

  // In byte order, so that among names equal but for letter case the same
  // one is chosen on every disk and every run.
  if (gListingHook) gListingHook(folder);
  auto entries = entriesOf(folder);
  if (!entries) return nullptr;
  Listing listing;
  listing.mtime = st.st_mtim;
  ::clock_gettime(CLOCK_REALTIME, &listing.listedAt);
  listing.names = *std::move(entries);
  std::vector<QStringList> readings;
  readings.reserve(size_t(listing.names.size()));
  for (const QString& name : listing.names) readings.push_back(nameReadings(name));
  const size_t count = readings.size();
  // The name itself first, then what raw names read as in each code page.
  for (const QString& name : listing.names) listing.exact.insert(name, name);
  for (qsizetype k = 0; k < 2; ++k) {
    for (size_t i = 0; i < count; ++i) {
      const QStringList& r = readings[i];
      if (k < r.size() && !listing.exact.contains(r[k])) listing.exact.insert(r[k], listing.names[qsizetype(i)]);
    }
  }
  for (size_t i = 0; i < count; ++i) {
    for (const QString& reading : readings[i]) {
      const QString folded = foldedName(reading);
      if (!listing.byFolded.contains(folded)) listing.byFolded.insert(folded, listing.names[qsizetype(i)]);
      if (std::any_of(reading.cbegin(), reading.cend(), [](QChar c) { return c.unicode() >= 0x80; })) {
        // A name written with decomposed accents matches its composed form exactly.
        const QString composed = reading.normalized(QString::NormalizationForm_C);
        if (composed != reading && !listing.exact.contains(composed))
          listing.exact.insert(composed, listing.names[qsizetype(i)]);
      }
    }
  }
  return &*gListings.insert(folder, std::move(listing));
}

// The name in the listing that a game's name stands for: the name read exactly
// (in UTF-8, else Windows-1252, else code page 437), else the first in byte
// order that reads the same without regard to case; "" when none.
QString lookUp(const Listing& listing, const QString& name) {
  if (const auto it = listing.exact.constFind(name); it != listing.exact.cend()) return *it;
  return listing.byFolded.value(foldedName(name));
}

// The real name in the folder of an entry named like `name`, or "".
QString findEntry(const QString& folder, const QString& name) {
  // A name that exists as written needs no listing (an exact match wins anyway).
  struct stat exact{};
  if (name != u'.' && name != QStringLiteral("..") && ::lstat(bytesOfName(folder + name).constData(), &exact) == 0)
    return name;
  const Listing* listing = listingOf(folder);
  if (!listing) {
    // A folder we may pass through but not list (permission to search only):
    // only the exact name can be found there.
    struct stat st{};
    return statNative(folder + name, st) ? name : QString();
  }
  QString real = lookUp(*listing, name);
  // A folder changed within the time-stamp resolution of its file system may
  // change again without its time stamp moving: read it again before saying no.
  if (real.isEmpty() && listing->listedAt.tv_sec - listing->mtime.tv_sec < 2) {
    listing = listingOf(folder, true);
    if (!listing) return {};
    real = lookUp(*listing, name);
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

bool isFolder(const QString& native) { return isFolderAt(native); }

// A regular file: not a folder, and not a pipe or device a read would hang on.
bool isPlainFile(const QString& native) { return isPlainFileAt(native); }

// True when going up from the folder leaves the allowed folders: the folder
// is one of them. (An absolute path may pass outside folders on its way in;
// where it ends is checked anyway.)
bool climbsOut(const QString& folder, const QStringList& roots) {
  if (roots.isEmpty()) return false;
  QString real = realPathOf(folder);
  while (real.size() > 1 && real.endsWith(u'/')) real.chop(1);
  return roots.contains(real);
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
    if (statNative(direct, st)) {
      return direct.size() > 1 && direct.endsWith(u'/') ? direct.chopped(1) : direct;
    }
  }
  const QStringList roots = confinementRoots();
  for (qsizetype i = 0; i < parts.size(); ++i) {
    const QString& part = parts[i];
    if (part == u'.') continue;
    if (part == QStringLiteral("..")) {
      // Climbing out of the game's folder ends the look-up before anything
      // outside is read.
      if (climbsOut(current, roots)) return std::nullopt;
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
      const QString readable = readableName(name);
      if (matchesWildcard(readable, title, Qt::CaseInsensitive) && isPlainFile(base + name) &&
          isInsideConfinement(base + name))
        return readable;
    }
    return {};
  }
  const auto real = resolveExisting(path);
  if (!real || !isPlainFile(*real)) return {};
  return readableName(real->mid(real->lastIndexOf(u'/') + 1));
}

QByteArray readWholeFile(const QString& path) {
  const auto real = resolveExisting(path);
  if (!real || !isPlainFile(*real)) throw VbError::fileNotFound(path);
  auto bytes = readFileAt(*real);
  if (!bytes) {
    VbError e = VbError::of(75);
    e.path = path;
    throw e;
  }
  return *std::move(bytes);
}

void writeWholeFile(const QString& path, const QByteArray& bytes) {
  const QString target = resolveForWrite(path);
  const qsizetype cut = target.lastIndexOf(u'/');
  if (cut > 0 && !isFolder(target.left(cut))) throw VbError::pathNotFound(path);
  // Only plain files inside the game's folder, never through a link that leads out.
  struct stat st{};
  const bool exists = statNative(target, st);
  if (!isInsideConfinement(target) || (exists && !S_ISREG(st.st_mode))) {
    throw VbError::permissionDenied(path);
  }
  // Written beside the target and renamed over it: a failure half-way never
  // leaves a damaged file where a good one was. A link inside the folder is
  // written through, not replaced.
  if (!writeFileAtomically(target, bytes)) {
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

void setListingHookForTests(std::function<void(const QString&)> hook) {
  std::lock_guard lock(gMutex);
  gListingHook = std::move(hook);
}

void forgetCachedListings() {
  std::lock_guard lock(gMutex);
  gListings.clear();
}

}  // namespace qm::platform
