#include "platform/GameFileOpen.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#if __has_include(<linux/openat2.h>) && defined(SYS_openat2)
#include <linux/openat2.h>
#define QM_HAVE_OPENAT2 1
#endif

namespace qm::platform {
namespace {

std::mutex gHookMutex;
std::function<void(const std::string&)> gHook;
std::atomic<bool> gKernelLookup{true};

void runHook(const std::string& path) {
  std::function<void(const std::string&)> hook;
  {
    std::lock_guard lock(gHookMutex);
    hook = gHook;
  }
  if (hook) hook(path);
}

// Closes a descriptor when it goes out of scope, keeping errno.
struct Descriptor {
  int fd = -1;
  explicit Descriptor(int f) : fd(f) {}
  ~Descriptor() {
    if (fd >= 0) {
      const int saved = errno;
      ::close(fd);
      errno = saved;
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int release() {
    const int f = fd;
    fd = -1;
    return f;
  }
};

int fail(int error) {
  errno = error;
  return -1;
}

bool refuse(int error) {
  errno = error;
  return false;
}

bool hasNul(const std::string& s) { return s.find('\0') != std::string::npos; }

std::string realOf(const std::string& path) {
  char buffer[PATH_MAX];
  return ::realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

bool isLink(const std::string& path) {
  struct stat st{};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// "dir/name" -> {"dir", "name"}; "name" -> {".", "name"}; "/name" -> {"/", "name"}.
std::pair<std::string, std::string> splitLast(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const size_t cut = path.rfind('/');
  if (cut == std::string::npos) return {".", path};
  return {cut == 0 ? "/" : path.substr(0, cut), path.substr(cut + 1)};
}

bool plainName(const std::string& name) { return !name.empty() && name != "." && name != ".." && name != "/"; }

// Opens `relative` (names without "." or "..") below the folder `rootFd`,
// refusing every link on the way and as the last name.
int openBeneath(int rootFd, const std::string& relative, int flags, mode_t mode) {
#ifdef QM_HAVE_OPENAT2
  static std::atomic<bool> missing{false};
  if (gKernelLookup.load(std::memory_order_relaxed) && !missing.load(std::memory_order_relaxed)) {
    open_how how{};
    how.flags = static_cast<unsigned long long>(flags);
    how.mode = (flags & O_CREAT) ? mode : 0;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    const int fd = static_cast<int>(::syscall(SYS_openat2, rootFd, relative.c_str(), &how, sizeof how));
    if (fd >= 0) return fd;
    // Older kernels lack the call, and some sandboxes forbid it: walk instead.
    if (errno != ENOSYS && errno != EPERM) return -1;
    if (errno == ENOSYS) missing.store(true, std::memory_order_relaxed);
  }
#endif
  Descriptor current(::fcntl(rootFd, F_DUPFD_CLOEXEC, 0));
  if (current.fd < 0) return -1;
  size_t start = 0;
  while (true) {
    while (start < relative.size() && relative[start] == '/') ++start;
    const size_t end = relative.find('/', start);
    const std::string name = relative.substr(start, end == std::string::npos ? std::string::npos : end - start);
    size_t next = end;
    while (next != std::string::npos && next < relative.size() && relative[next] == '/') ++next;
    const bool last = end == std::string::npos || next >= relative.size();
    if (name == "." || name == "..") return fail(EACCES);
    if (last) return ::openat(current.fd, name.c_str(), flags | O_NOFOLLOW, mode);
    const int inner = ::openat(current.fd, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (inner < 0) return -1;
    ::close(current.release());
    current.fd = inner;
    start = next;
  }
}

int openFolderConfined(const std::string& real, const std::vector<std::string>& realRoots, const std::string& shown) {
  for (const std::string& root : realRoots) {
    if (!isBeneath(real, root)) continue;
    Descriptor rootFd(::open(root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (rootFd.fd < 0) return -1;
    runHook(shown);
    if (real.size() <= root.size()) return rootFd.release();
    const std::string relative = real.substr(root == "/" ? 1 : root.size() + 1);
    return openBeneath(rootFd.fd, relative, O_PATH | O_DIRECTORY | O_CLOEXEC, 0);
  }
  return fail(EACCES);
}

int flagsFor(OpenFor how) {
  const int common = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  switch (how) {
    case OpenFor::Reading: return common | O_RDONLY;
    case OpenFor::Writing: return common | O_WRONLY | O_CREAT;
    case OpenFor::Appending: return common | O_WRONLY | O_CREAT | O_APPEND;
    case OpenFor::CreatingNew: return common | O_WRONLY | O_CREAT | O_EXCL;
  }
  return common | O_RDONLY;
}

// What an entry that is no regular file gives.
int refusalFor(mode_t mode) {
  if (S_ISLNK(mode)) return ELOOP;
  if (S_ISDIR(mode)) return EISDIR;
  return EACCES;
}

// Keeps the descriptor only for a regular file of one name (when written);
// empties it for Writing and makes it blocking again.
int finish(int fd, OpenFor how) {
  Descriptor file(fd);
  if (file.fd < 0) return -1;
  struct stat st{};
  if (::fstat(file.fd, &st) != 0) return -1;
  if (!S_ISREG(st.st_mode)) return fail(refusalFor(st.st_mode));
  if (how != OpenFor::Reading && st.st_nlink > 1) return fail(EMLINK);
  if (how == OpenFor::Writing && st.st_size > 0 && ::ftruncate(file.fd, 0) != 0) return -1;
  ::fcntl(file.fd, F_SETFL, ::fcntl(file.fd, F_GETFL) & ~O_NONBLOCK);
  return file.release();
}

// The folder and name to use for a path: a last name that is a link is
// replaced by the real path it leads to (a link leading nowhere stays, and is
// refused when opened).
std::pair<std::string, std::string> placeOf(const std::string& nativePath) {
  std::string target = nativePath;
  if (isLink(target)) {
    const std::string real = realOf(target);
    if (!real.empty()) target = real;
  }
  return splitLast(target);
}

std::string tempNameFor(const std::string& name) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937_64 random{std::random_device{}()};
  std::string temp = "." + name.substr(0, 200) + ".";
  for (int i = 0; i < 8; ++i) temp += kLetters[random() % (sizeof kLetters - 1)];
  return temp + ".part";
}

}  // namespace

bool isBeneath(const std::string& realPath, const std::string& realFolder) {
  std::string folder = realFolder;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder == "/") return !realPath.empty() && realPath.front() == '/';
  return realPath.compare(0, folder.size(), folder) == 0 &&
         (realPath.size() == folder.size() || realPath[folder.size()] == '/');
}

void setBetweenCheckAndOpenHookForTests(std::function<void(const std::string&)> hook) {
  std::lock_guard lock(gHookMutex);
  gHook = std::move(hook);
}

void setKernelBeneathLookupForTests(bool use) { gKernelLookup.store(use); }

int openGameFolder(const std::string& nativeFolder, const std::vector<std::string>& realRoots) {
  if (nativeFolder.empty() || hasNul(nativeFolder)) return fail(ENOENT);
  const std::string real = realOf(nativeFolder);
  if (real.empty()) return -1;
  if (realRoots.empty()) return ::open(real.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  return openFolderConfined(real, realRoots, nativeFolder);
}

int openGameFile(const std::string& nativePath, OpenFor how, const std::vector<std::string>& realRoots, mode_t mode) {
  if (nativePath.empty() || hasNul(nativePath)) return fail(ENOENT);
  const int flags = flagsFor(how);
  if (realRoots.empty()) {
    // Not confined: links are followed, but pipes and devices are not opened.
    struct stat st{};
    if (::stat(nativePath.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return fail(refusalFor(st.st_mode));
    return finish(::open(nativePath.c_str(), flags, mode), how);
  }
  const auto [folder, name] = placeOf(nativePath);
  if (!plainName(name)) return fail(EISDIR);
  Descriptor dir(openGameFolder(folder, realRoots));
  if (dir.fd < 0) return -1;
  struct stat st{};
  if (::fstatat(dir.fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(st.st_mode))
    return fail(refusalFor(st.st_mode));
  return finish(::openat(dir.fd, name.c_str(), flags | O_NOFOLLOW, mode), how);
}

bool replaceGameFile(const std::string& nativePath, const std::string& bytes, const std::vector<std::string>& realRoots,
                     const std::function<void()>& beforeRename) {
  if (nativePath.empty() || hasNul(nativePath)) return refuse(ENOENT);
  const auto [folder, name] = placeOf(nativePath);
  if (!plainName(name)) return refuse(EISDIR);
  Descriptor dir(realRoots.empty() ? ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)
                                   : openGameFolder(folder, realRoots));
  if (dir.fd < 0) return false;
  struct stat st{};
  const bool exists = ::fstatat(dir.fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
  if (exists && !S_ISREG(st.st_mode)) return refuse(refusalFor(st.st_mode));
  mode_t mode = 0;
  if (exists) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  // A fresh file of a name nobody chose: an entry the game folder ships (a
  // link, a pipe) can never be the one written.
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = tempNameFor(name);
    fd = ::openat(dir.fd, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  struct Cleanup {
    int dir;
    const std::string& temp;
    bool done = false;
    ~Cleanup() {
      if (done) return;
      const int saved = errno;
      ::unlinkat(dir, temp.c_str(), 0);
      errno = saved;
    }
  } cleanup{dir.fd, temp};
  {
    Descriptor out(fd);
    ::fchmod(out.fd, mode);
    size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t n = ::write(out.fd, bytes.data() + written, bytes.size() - written);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      written += static_cast<size_t>(n);
    }
    if (::fsync(out.fd) != 0) return false;
    if (::close(out.release()) != 0) return false;
  }
  if (beforeRename) beforeRename();
  if (::renameat(dir.fd, temp.c_str(), dir.fd, name.c_str()) != 0) return false;
  cleanup.done = true;
  return true;
}

}  // namespace qm::platform
