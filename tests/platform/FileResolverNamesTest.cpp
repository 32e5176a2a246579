// Game folders as they come off old discs and archives: files named in raw
// Windows-1252, raw code page 437 or UTF-8 are all found from the names a data
// file gives (Windows-1252 text), and names equal but for letter case always
// give the same file.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include "platform/FileConfinement.h"
#include "platform/FileResolver.h"
#include "platform/NativeFile.h"
#include "platform/NativeName.h"
#include "platform/VbError.h"
#include "platform/Windows1252.h"
#include "support/RawNamedFiles.h"

using namespace qm::platform;

namespace {

QByteArray w1252(const char* utf8) { return toWindows1252(QString::fromUtf8(utf8)); }
// What a data file's Windows-1252 bytes mean.
QString fromData(const char* utf8) { return fromWindows1252(w1252(utf8)); }

class FileResolverNamesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    rootBytes_ = QFile::encodeName(dir_.path()) + '/';
    root_ = nameFromBytes(rootBytes_);
    forgetCachedListings();
  }
  void TearDown() override { qm::testing::removeContentsByBytes(rootBytes_); }
  // Creates a file under the temporary folder by its raw bytes (folders too).
  void writeRaw(const QByteArray& relative, const QByteArray& content) {
    const QByteArray path = rootBytes_ + relative;
    for (qsizetype cut = path.indexOf('/', rootBytes_.size()); cut > 0; cut = path.indexOf('/', cut + 1))
      ::mkdir(path.left(cut).constData(), 0755);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path.constData();
    ASSERT_EQ(::write(fd, content.constData(), size_t(content.size())), content.size());
    ::close(fd);
  }
  QByteArray readRaw(const QByteArray& relative) {
    return readFileAt(nameFromBytes(rootBytes_ + relative)).value_or(QByteArray("<missing>"));
  }
  std::vector<QByteArray> rawEntries(const QByteArray& relativeFolder) {
    std::vector<QByteArray> names;
    DIR* d = ::opendir((rootBytes_ + relativeFolder).constData());
    if (!d) return names;
    while (dirent* e = ::readdir(d))
      if (e->d_name[0] != '.') names.emplace_back(e->d_name);
    ::closedir(d);
    return names;
  }

  QTemporaryDir dir_;
  QByteArray rootBytes_;
  QString root_;
};

}  // namespace

TEST_F(FileResolverNamesTest, NamesInEveryEncodingAreFoundFromDataFileText) {
  writeRaw("Frames/" + w1252("Église.bmp"), "windows");                    // raw Windows-1252
  writeRaw(QByteArray("Frames/Ch\x83teau.wav"), "dos");                    // raw code page 437 (â)
  writeRaw(QString::fromUtf8("Frames/Forêt.fme").toUtf8(), "utf8");       // UTF-8
  EXPECT_EQ(readWholeFile(root_ + fromData("Frames\\Église.bmp")), "windows");
  EXPECT_EQ(readWholeFile(root_ + fromData("FRAMES\\château.WAV")), "dos");
  EXPECT_EQ(readWholeFile(root_ + fromData("frames\\FORÊT.fme")), "utf8");
  EXPECT_TRUE(fileExists(root_ + fromData("Frames\\église.BMP")));
  // An accent is part of the name.
  EXPECT_FALSE(fileExists(root_ + "Frames/eglise.bmp"));
  // The file's own name, as people read it.
  EXPECT_EQ(readableName(*resolveExisting(root_ + fromData("frames\\CHÂTEAU.wav"))),
            readableName(root_) + QString::fromUtf8("Frames/Château.wav"));
}

TEST_F(FileResolverNamesTest, FoldersNamedInRawBytesLeadToTheirFiles) {
  writeRaw(w1252("Décors/Salle.bmp"), "hall");
  writeRaw(QByteArray("Musique\x82t\x82/Th\x8Ame.mid"), "theme");  // "Musiqueété/Thème" in code page 437
  EXPECT_EQ(readWholeFile(root_ + fromData("décors\\salle.bmp")), "hall");
  EXPECT_EQ(readWholeFile(root_ + fromData("MUSIQUEÉTÉ\\thème.mid")), "theme");
  EXPECT_TRUE(folderExists(root_ + fromData("Décors")));
  EXPECT_EQ(listFolder(root_ + fromData("Décors")), QStringList{"Salle.bmp"});
}

TEST_F(FileResolverNamesTest, NamesEqualButForCaseAlwaysGiveTheSameFile) {
  writeRaw("Frames/Hall.bmp", "mixed");
  writeRaw("Frames/HALL.BMP", "upper");
  writeRaw("Frames/hall.bmp", "lower");
  // The exact name wins; any other case gets the first in byte order.
  EXPECT_EQ(readWholeFile(root_ + "Frames/Hall.bmp"), "mixed");
  EXPECT_EQ(readWholeFile(root_ + "Frames/hall.bmp"), "lower");
  EXPECT_EQ(readWholeFile(root_ + "Frames/HALL.BMP"), "upper");
  for (int run = 0; run < 3; ++run) {
    forgetCachedListings();
    EXPECT_EQ(readWholeFile(root_ + "frames\\Hall.Bmp"), "upper");
    EXPECT_EQ(readWholeFile(root_ + "frames\\hALL.bmp"), "upper");
  }
  EXPECT_EQ(listFolder(root_ + "Frames"), (QStringList{"HALL.BMP", "Hall.bmp", "hall.bmp"}));
}

TEST_F(FileResolverNamesTest, AnEncodingThatReadsExactlyBeatsOneThatOnlyMatchesInAnotherCase) {
  writeRaw(QString::fromUtf8("Frames/église.bmp").toUtf8(), "utf8 lower");
  writeRaw("Frames/" + w1252("Église.bmp"), "windows exact");
  EXPECT_EQ(readWholeFile(root_ + fromData("Frames\\Église.bmp")), "windows exact");
  EXPECT_EQ(readWholeFile(root_ + fromData("Frames\\église.bmp")), "utf8 lower");
  // Neither reads exactly: the first in byte order (UTF-8 0xC3 before Windows-1252 0xC9).
  EXPECT_EQ(readWholeFile(root_ + fromData("Frames\\ÉGLISE.BMP")), "utf8 lower");
}

TEST_F(FileResolverNamesTest, NamesWrittenWithDecomposedAccentsAreFound) {
  writeRaw(QString::fromUtf8("Cle\u0301.bmp").toUtf8(), "key");
  EXPECT_EQ(readWholeFile(root_ + fromData("Clé.bmp")), "key");
  EXPECT_EQ(readWholeFile(root_ + fromData("CLÉ.BMP")), "key");
}

TEST_F(FileResolverNamesTest, WritingCreatesUtf8NamesAndKeepsRawNamesThatExist) {
  writeRaw("Config/" + w1252("Données.ini"), "[old]\r\n");
  writeWholeFile(root_ + fromData("Config\\données.ini"), "[new]\r\n");
  EXPECT_EQ(readRaw("Config/" + w1252("Données.ini")), "[new]\r\n");
  EXPECT_EQ(rawEntries("Config").size(), 1u);

  writeWholeFile(root_ + fromData("Config\\Réglages.ini"), "x");
  EXPECT_EQ(rawEntries("Config").size(), 2u);
  EXPECT_EQ(readRaw(QString::fromUtf8("Config/Réglages.ini").toUtf8()), "x");
  // And it is found again under its name.
  EXPECT_EQ(readWholeFile(root_ + fromData("CONFIG\\réglages.INI")), "x");
}

TEST_F(FileResolverNamesTest, WritingIntoARawNamedFolderOfTheGame) {
  writeRaw(w1252("Sauvés/keep.txt"), "k");
  ScopedConfinement confined({root_});
  writeWholeFile(root_ + fromData("Sauvés\\Partie.sav"), "saved");
  EXPECT_EQ(readRaw(w1252("Sauvés/Partie.sav")), "saved");
}

TEST_F(FileResolverNamesTest, ARawNamedLinkLeadingOutIsStillRefused) {
  QTemporaryDir outside;
  ASSERT_TRUE(outside.isValid());
  const QByteArray outsideBytes = QFile::encodeName(outside.path());
  ASSERT_EQ(::symlink(outsideBytes.constData(), (rootBytes_ + w1252("Évasion")).constData()), 0);
  {
    const int fd = ::open((outsideBytes + "/secret.txt").constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "secret", 6), 6);
    ::close(fd);
  }
  writeRaw("Frames/Hall.bmp", "in");
  ScopedConfinement confined({root_});
  EXPECT_FALSE(resolveExisting(root_ + fromData("Évasion\\secret.txt")));
  EXPECT_FALSE(fileExists(root_ + fromData("évasion\\SECRET.TXT")));
  EXPECT_THROW(readWholeFile(root_ + fromData("Évasion\\secret.txt")), qm::VbError);
  EXPECT_THROW(writeWholeFile(root_ + fromData("Évasion\\new.txt"), "x"), qm::VbError);
  EXPECT_FALSE(isPlainFileAt(QFile::decodeName(outsideBytes + "/new.txt")));
  EXPECT_TRUE(fileExists(root_ + "frames/hall.bmp"));
}
