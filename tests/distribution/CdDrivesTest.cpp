// Drive letters on a system without them: the mount table's volumes, the
// folders given or picked, which letter each gets, and the prompt's kinds.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <sys/stat.h>

#include "distribution/CdDrives.h"
#include "platform/NativeFile.h"
#include "platform/NativeName.h"
#include "startup/Settings.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"

namespace qm::testing {
namespace {

using distribution::CdDrives;
using distribution::DriveVolume;

TEST(MountTableTest, OpticalVolumesComeFirstThenTheUsualMountPlaces) {
  const QByteArray table =
      "/dev/sda1 / ext4 rw 0 0\n"
      "/dev/sr1 /media/zed/GAME\\040CD udf ro 0 0\n"
      "/dev/sr0 /media/zed/DISC iso9660 ro 0 0\n"
      "/dev/loop3 /opt/images/cd2 iso9660 ro 0 0\n"
      "/dev/sdb1 /media/zed/STICK vfat rw 0 0\n"
      "server:/games /mnt/games nfs4 rw 0 0\n"
      "tmpfs /run/media/zed/RAM tmpfs rw 0 0\n"
      "/dev/sdc1 /run/media/other/X ext4 rw 0 0\n"
      "proc /proc proc rw 0 0\n"
      "garbage\n";
  const auto volumes = distribution::ParseMountTable(table, "zed");
  ASSERT_EQ(volumes.size(), 6u);
  EXPECT_EQ(volumes[0].root, "/media/zed/DISC");
  EXPECT_EQ(volumes[1].root, "/media/zed/GAME CD");  // \040 is a blank
  EXPECT_EQ(volumes[2].root, "/opt/images/cd2");      // an optical volume counts wherever it is mounted
  for (int i = 0; i < 3; ++i) EXPECT_EQ(volumes[i].kind, distribution::kOptical);
  EXPECT_EQ(volumes[3].root, "/media/zed/STICK");
  EXPECT_EQ(volumes[3].kind, distribution::kRemovable);
  EXPECT_EQ(volumes[4].root, "/mnt/games");
  EXPECT_EQ(volumes[4].kind, distribution::kNetwork);
  EXPECT_EQ(volumes[5].root, "/run/media/zed/RAM");
  EXPECT_EQ(volumes[5].kind, distribution::kRamDisk);
}

class CdDrivesTest : public ProjectTest {
 protected:
  // A mount table whose optical volumes are folders of the temporary game folder.
  void mount(const QStringList& opticalFolders) {
    QByteArray table;
    for (const QString& f : opticalFolders) {
      tmp_.folder(f);
      table += "/dev/sr " + QDir(tmp_.path(f)).absolutePath().toUtf8() + " iso9660 ro 0 0\n";
    }
    tmp_.file("mounts", table);
    drives_.setMountTable(tmp_.path("mounts"));
  }
  GameFolderBuilder tmp_;
  CdDrives drives_;
};

TEST_F(CdDrivesTest, OpticalVolumesTakeLettersFromDAndTheLastOneIsTheCdRomDrive) {
  mount({"discB", "discA"});
  const auto v = drives_.volumes();
  ASSERT_EQ(v.size(), 2u);
  EXPECT_EQ(v[0].letter, QChar('D'));
  EXPECT_TRUE(v[0].root.endsWith("discA"));
  EXPECT_EQ(v[1].letter, QChar('E'));
  EXPECT_EQ(drives_.DetectCdRomDrive(), "e");
}

TEST_F(CdDrivesTest, WithoutAnOpticalVolumeTheDriveIsD) {
  mount({});
  EXPECT_TRUE(drives_.volumes().empty());
  EXPECT_EQ(drives_.DetectCdRomDrive(), "d");
}

TEST_F(CdDrivesTest, APickedFolderKeepsItsLetterAndGivenFoldersFollowTheVolumes) {
  mount({"disc"});
  tmp_.folder("copy").folder("cd1").folder("cd2");
  const QChar picked = drives_.rememberFolder(tmp_.path("copy"));
  EXPECT_EQ(picked, QChar('E'));  // D is the disc
  EXPECT_EQ(drives_.rememberFolder(tmp_.path("copy") + "/."), picked);  // the same folder, the same letter
  EXPECT_EQ(startup::LoadSetting("DriveFolderE"), QDir(tmp_.path("copy")).canonicalPath());
  drives_.setGivenFolders({tmp_.path("cd1"), tmp_.path("cd2")});
  EXPECT_EQ(drives_.givenFolderLetter(1), QChar('F'));
  EXPECT_EQ(drives_.givenFolderLetter(2), QChar('G'));
  EXPECT_TRUE(drives_.givenFolderLetter(3).isNull());
  EXPECT_EQ(drives_.volume(QChar('g'))->kind, distribution::kFolder);
  // The picked folder is remembered for the next run, before the disc takes its letters.
  CdDrives nextRun;
  nextRun.setMountTable(tmp_.path("mounts"));
  EXPECT_EQ(nextRun.volume(QChar('E'))->root, QDir(tmp_.path("copy")).canonicalPath());
  EXPECT_TRUE(drives_.rememberFolder(tmp_.path("no such folder")).isNull());
}

// A copied disc whose folder is named in raw Windows-1252 bytes: its letter
// leads to the same folder in the next run.
TEST_F(CdDrivesTest, APickedFolderNamedInRawBytesIsFoundInTheNextRun) {
  mount({});
  const QByteArray bytes = QFile::encodeName(QDir(tmp_.path("")).canonicalPath()) + "/Disque \xE9t\xE9";
  ASSERT_EQ(::mkdir(bytes.constData(), 0755), 0);
  const QString folder = platform::nameFromBytes(bytes);
  const QChar picked = drives_.rememberFolder(folder);
  ASSERT_EQ(picked, QChar('D'));
  CdDrives nextRun;
  nextRun.setMountTable(tmp_.path("mounts"));
  const auto drive = nextRun.volume(QChar('d'));
  ASSERT_TRUE(drive.has_value());
  EXPECT_EQ(platform::bytesOfName(drive->root), bytes);
  EXPECT_TRUE(platform::isFolderAt(drive->root));
  EXPECT_EQ(nextRun.rememberFolder(folder), picked);  // still known: no second letter
}

TEST(CdDriveKindsTest, KindsReadAsTheOldDriveTypes) {
  EXPECT_EQ(CdDrives::kindText(2), "(Floppy Drive)");
  EXPECT_EQ(CdDrives::kindText(3), "(Hard Drive)");
  EXPECT_EQ(CdDrives::kindText(4), "(Network Drive)");
  EXPECT_EQ(CdDrives::kindText(5), "(CD-Rom Drive)");
  EXPECT_EQ(CdDrives::kindText(6), "(RAM Disk)");
  EXPECT_EQ(CdDrives::kindText(0), "(Folder)");
}

}  // namespace
}  // namespace qm::testing
