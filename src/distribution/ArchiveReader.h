// Reads the archives games are distributed in (.zip, .7z, .rar, .tar.*, .iso)
// and unpacks them, treating every archive as hostile input: an entry that
// would land outside the destination (an absolute path, a "..") or that is not
// a plain file or folder (a link, a device, a FIFO) refuses the whole archive,
// and so does an archive that unpacks to more than a limit of bytes or of
// entries. Entry names are kept byte for byte, whatever code page they are in.
// Standard C++ and libarchive only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qm::distribution {

struct ArchiveLimits {
  std::uint64_t maxUnpackedBytes = std::uint64_t{2} << 30;  // 2 GB
  std::uint64_t maxEntries = 100000;
};

struct ArchiveOutcome {
  bool ok = false;
  std::string error;          // why the archive was refused or could not be read (empty when ok)
  std::uint64_t entries = 0;  // entries read
  std::uint64_t bytes = 0;    // bytes unpacked
};

// Whether the file's content is an archive of a format the reader knows
// (whatever its name ends in).
bool isArchiveFile(const std::string& path);

// Unpacks every entry of the archive into `destination`, an existing, empty
// folder. On failure what was written stays there: the caller unpacks into a
// temporary folder and removes it.
ArchiveOutcome unpackArchive(const std::string& archivePath, const std::string& destination,
                             const ArchiveLimits& limits = {});

// Reads every entry of an archive held in memory, with the same checks as
// unpacking, and writes nothing.
ArchiveOutcome scanArchive(const void* data, std::size_t size, const ArchiveLimits& limits = {});

}  // namespace qm::distribution
