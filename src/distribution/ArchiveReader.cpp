#include "distribution/ArchiveReader.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace qm::distribution {

namespace {

using Reader = std::unique_ptr<archive, decltype(&archive_read_free)>;

// Names stored as Unicode (7z, Joliet, zip entries flagged UTF-8) are given
// to us in the thread's character set; UTF-8 for as long as an archive is
// read, whatever the process's locale, so no name is lost to "?". Names stored
// as raw bytes stay raw bytes.
class Utf8Names {
 public:
  Utf8Names() : utf8_(::newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr)) {
    if (utf8_) previous_ = ::uselocale(utf8_);
  }
  ~Utf8Names() {
    if (!utf8_) return;
    ::uselocale(previous_);
    ::freelocale(utf8_);
  }
  Utf8Names(const Utf8Names&) = delete;
  Utf8Names& operator=(const Utf8Names&) = delete;

 private:
  locale_t utf8_;
  locale_t previous_ = nullptr;
};

// The formats games are distributed in, and the compressions of a .tar.*.
// Never "all": some formats name files of this machine to read, and some
// filters run external programs.
Reader newReader() {
  Reader a(archive_read_new(), &archive_read_free);
  archive_read_support_format_zip(a.get());
  archive_read_support_format_7zip(a.get());
  archive_read_support_format_rar(a.get());
  archive_read_support_format_rar5(a.get());
  archive_read_support_format_tar(a.get());
  archive_read_support_format_iso9660(a.get());
  archive_read_support_filter_gzip(a.get());
  archive_read_support_filter_bzip2(a.get());
  archive_read_support_filter_xz(a.get());
  archive_read_support_filter_lzma(a.get());
  archive_read_support_filter_lzip(a.get());
  archive_read_support_filter_zstd(a.get());
  archive_read_support_filter_compress(a.get());
  return a;
}

// An entry's name for a message: control bytes (which a hostile archive could
// use to drive the terminal) shown as \xNN.
std::string shown(const std::string& name) {
  std::string out;
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return "'" + out + "'";
}

std::string amount(std::uint64_t bytes) {
  constexpr std::uint64_t kGB = std::uint64_t{1} << 30;
  if (bytes >= kGB && bytes % kGB == 0) return std::to_string(bytes / kGB) + " GB";
  return std::to_string(bytes) + " bytes";
}

std::string libraryError(archive* a) {
  const char* text = archive_error_string(a);
  return text ? text : "unknown error";
}

// Where the entries go: a folder on disk, or nowhere (a scan).
class Sink {
 public:
  virtual ~Sink() = default;
  virtual bool folder(const std::string& path) = 0;
  virtual bool beginFile(const std::string& path) = 0;
  virtual bool write(const void* data, std::size_t size) = 0;
  virtual bool endFile() = 0;
  std::string error;
};

class NoSink final : public Sink {
 public:
  bool folder(const std::string&) override { return true; }
  bool beginFile(const std::string&) override { return true; }
  bool write(const void*, std::size_t) override { return true; }
  bool endFile() override { return true; }
};

// Writes into a folder the reader made for the purpose. Entry paths have been
// checked to stay inside it, and it never holds links (none are written), so
// plain creation is safe; O_NOFOLLOW guards that anyway.
class FolderSink final : public Sink {
 public:
  explicit FolderSink(std::string root) : root_(std::move(root)) {}
  ~FolderSink() override {
    if (fd_ >= 0) ::close(fd_);
  }

  bool folder(const std::string& path) override {
    std::size_t from = 0;
    while (true) {
      const std::size_t slash = path.find('/', from);
      const std::string part = root_ + '/' + path.substr(0, slash);
      if (::mkdir(part.c_str(), 0755) != 0) {
        struct stat st {};
        if (errno != EEXIST || ::lstat(part.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
          return fail("cannot make the folder " + shown(path.substr(0, slash)));
      }
      if (slash == std::string::npos) return true;
      from = slash + 1;
    }
  }

  bool beginFile(const std::string& path) override {
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && !folder(path.substr(0, slash))) return false;
    fd_ = ::open((root_ + '/' + path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd_ < 0) return fail("cannot write " + shown(path));
    current_ = path;
    return true;
  }

  bool write(const void* data, std::size_t size) override {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
      const ssize_t n = ::write(fd_, p, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return fail("cannot write " + shown(current_));
      p += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  }

  bool endFile() override {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return fail("cannot write " + shown(current_));
    return true;
  }

 private:
  bool fail(const std::string& what) {
    error = what + ": " + std::strerror(errno);
    return false;
  }

  std::string root_;
  std::string current_;
  int fd_ = -1;
};

// The entry's path inside the destination ("a/b/c", no "." parts), or why the
// entry is refused. An empty path with no refusal is the archive's own root.
bool entryPath(archive_entry* entry, std::string& path, std::string& refusal) {
  const char* name = archive_entry_pathname(entry);
  if (!name) name = archive_entry_pathname_utf8(entry);
  if (!name || !*name) {
    refusal = "an entry has no name, or one that cannot be read";
    return false;
  }
  const std::string raw(name);
  if (raw[0] == '/') {
    refusal = "the entry " + shown(raw) + " has an absolute path";
    return false;
  }
  path.clear();
  std::size_t from = 0;
  while (from <= raw.size()) {
    std::size_t slash = raw.find('/', from);
    if (slash == std::string::npos) slash = raw.size();
    const std::string part = raw.substr(from, slash - from);
    if (part == "..") {
      refusal = "the entry " + shown(raw) + " points outside the archive's folder ('..')";
      return false;
    }
    if (!part.empty() && part != ".") {
      if (!path.empty()) path += '/';
      path += part;
    }
    from = slash + 1;
  }
  if (archive_entry_hardlink(entry)) {
    refusal = "the entry " + shown(raw) + " is a link";
    return false;
  }
  switch (archive_entry_filetype(entry)) {
    case AE_IFREG:
    case AE_IFDIR:
      return true;
    case AE_IFLNK:
      refusal = "the entry " + shown(raw) + " is a link";
      return false;
    default:
      refusal = "the entry " + shown(raw) + " is a device, FIFO or socket, not a file";
      return false;
  }
}

ArchiveOutcome readAll(archive* a, Sink& sink, const ArchiveLimits& limits) {
  ArchiveOutcome out;
  auto refuse = [&out](std::string why) {
    out.ok = false;
    out.error = std::move(why);
    return out;
  };
  std::vector<char> buffer(64 * 1024);
  while (true) {
    archive_entry* entry = nullptr;
    const int r = archive_read_next_header(a, &entry);
    if (r == ARCHIVE_EOF) break;
    if (r < ARCHIVE_WARN) return refuse("the archive is damaged or truncated (" + libraryError(a) + ")");
    if (++out.entries > limits.maxEntries)
      return refuse("the archive holds more than " + std::to_string(limits.maxEntries) + " entries");
    std::string path, refusal;
    if (!entryPath(entry, path, refusal)) return refuse(refusal);
    if (path.empty()) continue;
    if (archive_entry_filetype(entry) == AE_IFDIR) {
      if (!sink.folder(path)) return refuse(sink.error);
      continue;
    }
    // A size announced in the header may lie; what is read counts.
    if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > 0 &&
        static_cast<std::uint64_t>(archive_entry_size(entry)) > limits.maxUnpackedBytes - out.bytes)
      return refuse("the archive unpacks to more than " + amount(limits.maxUnpackedBytes));
    if (!sink.beginFile(path)) return refuse(sink.error);
    while (true) {
      const la_ssize_t n = archive_read_data(a, buffer.data(), buffer.size());
      if (n == 0) break;
      if (n < 0) {
        sink.endFile();
        return refuse("the archive is damaged or truncated (" + libraryError(a) + ")");
      }
      if (static_cast<std::uint64_t>(n) > limits.maxUnpackedBytes - out.bytes) {
        sink.endFile();
        return refuse("the archive unpacks to more than " + amount(limits.maxUnpackedBytes));
      }
      out.bytes += static_cast<std::uint64_t>(n);
      if (!sink.write(buffer.data(), static_cast<std::size_t>(n))) return refuse(sink.error);
    }
    if (!sink.endFile()) return refuse(sink.error);
  }
  // (A run of zero bytes, such as the start of a cut-short disc image, reads as
  // an empty tar.)
  if (out.entries == 0) return refuse("the archive is empty or damaged: it holds no files");
  out.ok = true;
  return out;
}

}  // namespace

bool isArchiveFile(const std::string& path) {
  const Utf8Names names;
  Reader a = newReader();
  if (archive_read_open_filename(a.get(), path.c_str(), 64 * 1024) != ARCHIVE_OK) return false;
  archive_entry* entry = nullptr;
  const int r = archive_read_next_header(a.get(), &entry);
  return r == ARCHIVE_OK || r == ARCHIVE_WARN || r == ARCHIVE_EOF;
}

ArchiveOutcome unpackArchive(const std::string& archivePath, const std::string& destination,
                             const ArchiveLimits& limits) {
  const Utf8Names names;
  Reader a = newReader();
  if (archive_read_open_filename(a.get(), archivePath.c_str(), 64 * 1024) != ARCHIVE_OK) {
    ArchiveOutcome out;
    out.error = "not an archive the player can read (" + libraryError(a.get()) + ")";
    return out;
  }
  FolderSink sink(destination);
  return readAll(a.get(), sink, limits);
}

ArchiveOutcome scanArchive(const void* data, std::size_t size, const ArchiveLimits& limits) {
  const Utf8Names names;
  Reader a = newReader();
  if (archive_read_open_memory(a.get(), data, size) != ARCHIVE_OK) {
    ArchiveOutcome out;
    out.error = "not an archive the player can read (" + libraryError(a.get()) + ")";
    return out;
  }
  NoSink sink;
  return readAll(a.get(), sink, limits);
}

}  // namespace qm::distribution
