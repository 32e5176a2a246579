// Writes archives for tests with libarchive's own writer: good ones of each
// kind a game comes in, and hostile ones (entries that climb out, links,
// devices) that no ordinary tool would make.
#pragma once

#include <string>
#include <vector>

namespace qm::testing {

enum class ArchiveKind { Zip, TarGz, SevenZip, Iso, Tar };

struct ArchiveEntry {
  enum class Type { File, Folder, Symlink, Hardlink, Fifo, CharDevice };
  std::string name;   // written byte for byte
  std::string data;   // a file's content
  Type type = Type::File;
  std::string target;  // a link's target
};

ArchiveEntry fileEntry(std::string name, std::string data);
ArchiveEntry folderEntry(std::string name);

// Writes the archive; false (with a test failure recorded) when libarchive refuses.
bool writeArchive(const std::string& path, ArchiveKind kind, const std::vector<ArchiveEntry>& entries);

// The whole file.
std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

}  // namespace qm::testing
