#include "support/ArchiveWriter.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <locale.h>

#include <fstream>
#include <iterator>
#include <memory>

namespace qm::testing {

ArchiveEntry fileEntry(std::string name, std::string data) {
  ArchiveEntry e;
  e.name = std::move(name);
  e.data = std::move(data);
  return e;
}

ArchiveEntry folderEntry(std::string name) {
  ArchiveEntry e;
  e.name = std::move(name);
  e.type = ArchiveEntry::Type::Folder;
  return e;
}

bool writeArchive(const std::string& path, ArchiveKind kind, const std::vector<ArchiveEntry>& entries) {
  // Names are UTF-8 where the format stores Unicode (7z, disc images), as an
  // archiver on any modern system writes them; raw bytes, unconverted, where
  // it stores bytes (zip without its UTF-8 flag, tar), as old archives hold them.
  const bool unicode = kind == ArchiveKind::SevenZip || kind == ArchiveKind::Iso;
  struct Charset {
    locale_t chosen;
    locale_t previous = chosen ? ::uselocale(chosen) : nullptr;
    ~Charset() {
      if (chosen) ::uselocale(previous), ::freelocale(chosen);
    }
  } names{::newlocale(LC_CTYPE_MASK, unicode ? "C.UTF-8" : "C", nullptr)};
  std::unique_ptr<archive, decltype(&archive_write_free)> a(archive_write_new(), &archive_write_free);
  switch (kind) {
    case ArchiveKind::Zip: archive_write_set_format_zip(a.get()); break;
    case ArchiveKind::TarGz:
      archive_write_set_format_pax_restricted(a.get());
      archive_write_add_filter_gzip(a.get());
      break;
    case ArchiveKind::Tar: archive_write_set_format_pax_restricted(a.get()); break;
    case ArchiveKind::SevenZip: archive_write_set_format_7zip(a.get()); break;
    case ArchiveKind::Iso: archive_write_set_format_iso9660(a.get()); break;
  }
  if (archive_write_open_filename(a.get(), path.c_str()) != ARCHIVE_OK) {
    ADD_FAILURE() << "cannot write " << path << ": " << archive_error_string(a.get());
    return false;
  }
  for (const ArchiveEntry& e : entries) {
    std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(), &archive_entry_free);
    archive_entry_copy_pathname(entry.get(), e.name.c_str());
    archive_entry_set_perm(entry.get(), 0644);
    archive_entry_set_mtime(entry.get(), 1'000'000'000, 0);
    switch (e.type) {
      case ArchiveEntry::Type::File:
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_size(entry.get(), static_cast<la_int64_t>(e.data.size()));
        break;
      case ArchiveEntry::Type::Folder:
        archive_entry_set_filetype(entry.get(), AE_IFDIR);
        archive_entry_set_perm(entry.get(), 0755);
        break;
      case ArchiveEntry::Type::Symlink:
        archive_entry_set_filetype(entry.get(), AE_IFLNK);
        archive_entry_copy_symlink(entry.get(), e.target.c_str());
        break;
      case ArchiveEntry::Type::Hardlink:
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_copy_hardlink(entry.get(), e.target.c_str());
        break;
      case ArchiveEntry::Type::Fifo: archive_entry_set_filetype(entry.get(), AE_IFIFO); break;
      case ArchiveEntry::Type::CharDevice:
        archive_entry_set_filetype(entry.get(), AE_IFCHR);
        archive_entry_set_rdev(entry.get(), makedev(1, 3));
        break;
    }
    if (archive_write_header(a.get(), entry.get()) < ARCHIVE_WARN) {
      ADD_FAILURE() << "cannot write the entry " << e.name << ": " << archive_error_string(a.get());
      return false;
    }
    if (e.type == ArchiveEntry::Type::File && !e.data.empty() &&
        archive_write_data(a.get(), e.data.data(), e.data.size()) < 0) {
      ADD_FAILURE() << "cannot write the data of " << e.name << ": " << archive_error_string(a.get());
      return false;
    }
  }
  if (archive_write_close(a.get()) != ARCHIVE_OK) {
    ADD_FAILURE() << "cannot finish " << path << ": " << archive_error_string(a.get());
    return false;
  }
  return true;
}

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace qm::testing
