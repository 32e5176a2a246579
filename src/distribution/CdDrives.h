// Drive letters for a system that has none. A "drive" is a mounted volume or a
// folder the player picked (a copied CD, a mounted image):
//   - optical volumes: iso9660 and udf file systems of the mount table;
//   - other volumes mounted in the usual places (/media, /run/media/USER, /mnt);
//   - folders given on the command line (--cd, in CD order) for this run;
//   - folders picked in the CD prompt, remembered in the settings
//     ("DriveFolder" + letter) so their letter means the same next time.
// Remembered folders keep their letters; the others take the free letters
// from D upward in the order above (optical volumes sorted by mount point
// first), so the same setup always gives the same letters.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace qm::distribution {

// Kinds as the prompt shows them (the old drive types, and folders).
enum DriveKind { kFolder = 0, kRemovable = 2, kFixed = 3, kNetwork = 4, kOptical = 5, kRamDisk = 6 };

struct DriveVolume {
  QChar letter;  // upper case
  QString root;  // native folder
  int kind = kFolder;
};

class CdDrives {
 public:
  // The mount table to read (default /proc/self/mounts).
  void setMountTable(const QString& path) { mountTable_ = path; }
  // Folders that hold CD 1, CD 2, ... for this run (not remembered).
  void setGivenFolders(const QStringList& folders) { given_ = folders; }
  const QStringList& givenFolders() const { return given_; }

  // Every drive with its letter, in letter order. Read afresh on each call.
  std::vector<DriveVolume> volumes() const;
  // The drive of a letter (any case).
  std::optional<DriveVolume> volume(QChar letter) const;
  // The letter of given folder n (1-based); a null QChar when there is none.
  QChar givenFolderLetter(int cdNumber) const;
  // Gives a picked folder a letter and remembers it; the same folder keeps its
  // letter. A null QChar when the folder does not exist or no letter is free.
  QChar rememberFolder(const QString& folder);

  // The letter of the last optical volume, lower case; "d" when there is none.
  QString DetectCdRomDrive() const;

  static QString kindText(int kind);

 private:
  QString mountTable_ = QStringLiteral("/proc/self/mounts");
  QStringList given_;
};

// The mounted volumes a mount table lists that count as drives, optical ones
// first, each group in mount-point order. userName picks /run/media/USER.
struct MountedVolume {
  QString root;
  int kind = kFixed;
};
std::vector<MountedVolume> ParseMountTable(const QByteArray& table, const QString& userName);

}  // namespace qm::distribution
