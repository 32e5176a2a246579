#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <thread>

#include "platform/FileResolver.h"
#include "platform/VbError.h"

using namespace qm::platform;

namespace {

class FileResolverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = dir_.path() + u'/';
    QDir().mkpath(root_ + "Frames/Sub");
    write("Frames/Hall.BMP");
    write("Frames/Sub/Door.wav");
    write("Config/General");
  }
  void write(const QString& rel, const QByteArray& bytes = "x") {
    const QString p = root_ + rel;
    QDir().mkpath(p.left(p.lastIndexOf(u'/')));
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QTemporaryDir dir_;
  QString root_;
};

}  // namespace

TEST_F(FileResolverTest, AnyLetterCaseAndBackslashesFindTheFile) {
  const auto real = resolveExisting(root_ + "frames\\hall.bmp");
  ASSERT_TRUE(real);
  EXPECT_EQ(*real, root_ + "Frames/Hall.BMP");
  EXPECT_TRUE(fileExists(root_ + "FRAMES\\SUB\\door.WAV"));
  EXPECT_TRUE(fileExists(root_ + "Frames//Sub/./Door.wav"));
  EXPECT_TRUE(fileExists(root_ + "Frames/Sub/../Hall.bmp"));
}

TEST_F(FileResolverTest, ExactNameWinsOverAnotherCase) {
  write("Frames/a.txt", "lower");
  write("Frames/A.txt", "upper");
  EXPECT_EQ(readWholeFile(root_ + "Frames/A.txt"), "upper");
  EXPECT_EQ(readWholeFile(root_ + "Frames/a.txt"), "lower");
}

TEST_F(FileResolverTest, FilesAndFoldersAreTold) {
  EXPECT_FALSE(fileExists(root_ + "frames"));
  EXPECT_TRUE(folderExists(root_ + "frames"));
  EXPECT_TRUE(folderExists(root_ + "frames\\"));
  EXPECT_FALSE(folderExists(root_ + "frames/hall.bmp"));
  EXPECT_FALSE(fileExists(root_ + "frames/hall.bmp/"));
  EXPECT_FALSE(fileExists(root_ + "Frames/Hall.BMP/x"));
}

TEST_F(FileResolverTest, PathsThatCannotNameAFileHere) {
  EXPECT_FALSE(fileExists(""));
  EXPECT_FALSE(fileExists("C:\\Game\\Frames\\Hall.bmp"));
  EXPECT_FALSE(fileExists(root_ + "Frames/Missing.bmp"));
  EXPECT_FALSE(fileExists(root_ + QString(QChar(0)) + "x"));
}

TEST_F(FileResolverTest, RelativePathsStartAtTheCurrentFolder) {
  const QString saved = QDir::currentPath();
  QDir::setCurrent(root_);
  EXPECT_TRUE(fileExists("frames\\hall.bmp"));
  EXPECT_EQ(safeDir("FRAMES\\HALL.bmp"), "Hall.BMP");
  QDir::setCurrent(saved);
}

TEST_F(FileResolverTest, NewFilesAreSeenAfterTheListingWasCached) {
  EXPECT_FALSE(fileExists(root_ + "Frames/New.bmp"));
  write("Frames/NEW.BMP");
  EXPECT_TRUE(fileExists(root_ + "Frames/New.bmp"));
  QFile::remove(root_ + "Frames/NEW.BMP");
  EXPECT_FALSE(fileExists(root_ + "Frames/New.bmp"));
}

TEST_F(FileResolverTest, ForgettingListingsKeepsAnswersRight) {
  EXPECT_TRUE(fileExists(root_ + "frames/hall.bmp"));
  forgetCachedListings();
  EXPECT_TRUE(fileExists(root_ + "frames/hall.bmp"));
}

TEST_F(FileResolverTest, WritingResolvesFoldersAndKeepsExistingNames) {
  EXPECT_EQ(resolveForWrite(root_ + "frames\\NewFile.sav"), root_ + "Frames/NewFile.sav");
  EXPECT_EQ(resolveForWrite(root_ + "FRAMES\\hall.bmp"), root_ + "Frames/Hall.BMP");
  EXPECT_EQ(resolveForWrite(root_ + "nofolder\\x.txt"), root_ + "nofolder/x.txt");
  writeWholeFile(root_ + "config\\saved.SAV", "data");
  EXPECT_EQ(readWholeFile(root_ + "Config/saved.sav"), "data");
  EXPECT_TRUE(QFile::exists(root_ + "Config/saved.SAV"));
}

TEST_F(FileResolverTest, WritingIntoAMissingFolderFails) {
  try {
    writeWholeFile(root_ + "nofolder/x.txt", "data");
    FAIL() << "no error";
  } catch (const qm::VbError& e) {
    EXPECT_EQ(e.number, 76);
  }
}

TEST_F(FileResolverTest, SafeDirGivesTheNameOnDiskOrNothing) {
  EXPECT_EQ(safeDir(root_ + "frames\\hall.bmp"), "Hall.BMP");
  EXPECT_EQ(safeDir(root_ + "frames"), "");
  EXPECT_EQ(safeDir(root_ + "frames\\missing.bmp"), "");
  EXPECT_EQ(safeDir(""), "");
  EXPECT_EQ(safeDir(root_ + "frames\\*.bmp"), "Hall.BMP");
  EXPECT_EQ(safeDir(root_ + "frames\\h?ll.*"), "Hall.BMP");
  EXPECT_EQ(safeDir(root_ + "frames\\*.gif"), "");
}

TEST_F(FileResolverTest, ReadingAMissingFileIsFileNotFound) {
  try {
    readWholeFile(root_ + "Config/Nothing");
    FAIL() << "no error";
  } catch (const qm::VbError& e) {
    EXPECT_EQ(e.number, 53);
    EXPECT_EQ(e.description, "File not found");
  }
  EXPECT_EQ(readWholeFile(root_ + "CONFIG/general"), "x");
}

TEST_F(FileResolverTest, ListingsIncludeHiddenFilesAndFolders) {
  write("Frames/.hidden");
  const QStringList names = listFolder(root_ + "FRAMES");
  EXPECT_TRUE(names.contains("Hall.BMP"));
  EXPECT_TRUE(names.contains(".hidden"));
  EXPECT_TRUE(names.contains("Sub"));
  EXPECT_FALSE(names.contains("."));
  EXPECT_FALSE(names.contains(".."));
  EXPECT_TRUE(listFolder(root_ + "Missing").isEmpty());
}

TEST_F(FileResolverTest, ConcurrentLookupsAgree) {
  std::vector<std::thread> threads;
  std::atomic<int> found{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 200; ++i) found += fileExists(root_ + "frames/sub/DOOR.wav") ? 1 : 0;
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(found.load(), 800);
}
