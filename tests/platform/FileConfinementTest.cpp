// A game's files: only those whose real path lies inside its folder are found,
// read or written; "..", absolute paths and symbolic links do not lead out.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>

#include "platform/FileConfinement.h"
#include "platform/FileResolver.h"
#include "platform/VbError.h"

using namespace qm::platform;

namespace {

class FileConfinementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(top_.isValid());
    game_ = top_.path() + "/game/";
    outside_ = top_.path() + "/outside/";
    write(game_ + "Frames/Hall.bmp", "inside");
    write(outside_ + "secret.txt", "secret");
    confinement_.emplace(QStringList{game_});
  }
  static void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(path.left(path.lastIndexOf(u'/')));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  static QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void link(const QString& target, const QString& at) { ASSERT_TRUE(QFile::link(target, at)) << qPrintable(at); }

  QTemporaryDir top_;
  QString game_, outside_;
  std::optional<ScopedConfinement> confinement_;
};

}  // namespace

TEST_F(FileConfinementTest, RealPathsResolveLinksAndDots) {
  link(outside_, game_ + "Out");
  const QString realTop = realPathOf(top_.path());
  EXPECT_EQ(realPathOf(game_ + "Out/secret.txt"), realTop + "/outside/secret.txt");
  EXPECT_EQ(realPathOf(game_ + "Frames/../Frames/./Hall.bmp"), realTop + "/game/Frames/Hall.bmp");
  // A file still to be created: its existing parents decide.
  EXPECT_EQ(realPathOf(game_ + "Out/new/file.txt"), realTop + "/outside/new/file.txt");
  EXPECT_EQ(realPathOf(game_ + "nothing/../../outside/x"), realTop + "/outside/x");
}

TEST_F(FileConfinementTest, InsideMeansTheFolderOrBelowIt) {
  EXPECT_TRUE(isInsideFolder("/a/b", "/a/b"));
  EXPECT_TRUE(isInsideFolder("/a/b/c", "/a/b/"));
  EXPECT_FALSE(isInsideFolder("/a/bc", "/a/b"));  // a sibling sharing the prefix
  EXPECT_FALSE(isInsideFolder("/a", "/a/b"));
  EXPECT_TRUE(isInsideFolder("/anything", "/"));
}

TEST_F(FileConfinementTest, DotDotOutOfTheGameIsAMissingFile) {
  const QString escape = game_ + "Frames\\..\\..\\outside\\secret.txt";
  EXPECT_FALSE(resolveExisting(escape));
  EXPECT_FALSE(fileExists(escape));
  EXPECT_EQ(safeDir(escape), "");
  EXPECT_TRUE(listFolder(game_ + "..\\outside").isEmpty());
  try {
    readWholeFile(escape);
    FAIL() << "read a file outside the game";
  } catch (const qm::VbError& e) {
    EXPECT_EQ(e.number, 53);
  }
  EXPECT_FALSE(fileExists(outside_ + "secret.txt"));  // absolute paths too
  EXPECT_TRUE(fileExists(game_ + "frames\\..\\FRAMES\\hall.BMP"));
}

TEST_F(FileConfinementTest, LinksThatLeadOutAreMissing) {
  link(outside_ + "secret.txt", game_ + "Frames/pic.bmp");
  link(outside_, game_ + "Areas");
  EXPECT_FALSE(fileExists(game_ + "Frames/PIC.BMP"));
  EXPECT_FALSE(fileExists(game_ + "areas/secret.txt"));
  EXPECT_FALSE(folderExists(game_ + "Areas"));
  EXPECT_EQ(safeDir(game_ + "Frames/*.bmp"), "Hall.bmp");  // the wildcard passes over the link
  // A link that stays inside is followed.
  link(game_ + "Frames/Hall.bmp", game_ + "Frames/alias.bmp");
  EXPECT_EQ(readWholeFile(game_ + "Frames/alias.bmp"), "inside");
}

TEST_F(FileConfinementTest, NothingIsWrittenOutsideNorThroughALinkThatLeadsOut) {
  link(outside_ + "secret.txt", game_ + "Frames/save.txt");
  link(outside_, game_ + "External");
  for (const QString& target : {game_ + "Frames/save.txt", game_ + "External/new.txt", outside_ + "secret.txt",
                                game_ + "..\\outside\\secret.txt"}) {
    try {
      writeWholeFile(target, "overwritten");
      ADD_FAILURE() << "wrote " << qPrintable(target);
    } catch (const qm::VbError& e) {
      EXPECT_EQ(e.number, 70) << qPrintable(target);
    }
  }
  EXPECT_EQ(read(outside_ + "secret.txt"), "secret");
  EXPECT_FALSE(QFile::exists(outside_ + "new.txt"));
  writeWholeFile(game_ + "Frames/ok.txt", "fine");
  EXPECT_EQ(read(game_ + "Frames/ok.txt"), "fine");
}

// "..", in names and in DDir patterns, is refused before any folder outside
// the game's is read.
TEST_F(FileConfinementTest, NamesThatClimbOutReadNothingOutside) {
  QStringList listed;
  setListingHookForTests([&](const QString& folder) { listed << folder; });
  const QString cwd = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(game_ + "Frames"));
  for (const QString& name : {QString("..\\..\\outside\\secret.txt"), QString("..\\..\\OUTSIDE\\Secret.TXT"),
                              QString("x\\..\\..\\..\\outside\\secret.txt"), game_ + "..\\Outside\\secret.txt"}) {
    forgetCachedListings();
    EXPECT_FALSE(fileExists(name)) << qPrintable(name);
    EXPECT_EQ(safeDir(name), "") << qPrintable(name);
  }
  forgetCachedListings();
  EXPECT_EQ(safeDir("..\\..\\outside\\*.txt"), "");
  EXPECT_EQ(safeDir("..\\..\\*.*"), "");
  EXPECT_TRUE(listFolder("..\\..").isEmpty());
  EXPECT_EQ(safeDir("..\\Frames\\*.bmp"), "Hall.bmp");  // climbing about inside is fine
  ASSERT_TRUE(QDir::setCurrent(cwd));
  setListingHookForTests({});
  const QString game = QDir(game_).canonicalPath();
  for (const QString& folder : listed)
    EXPECT_TRUE(isInsideFolder(realPathOf(folder), game)) << "read " << qPrintable(folder);
  EXPECT_FALSE(listed.isEmpty());
}

TEST_F(FileConfinementTest, PipesAndDevicesAreNotFiles) {
  const QString fifo = game_ + "Frames/pipe.ini";
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  EXPECT_FALSE(fileExists(fifo));  // a read would wait for ever
  EXPECT_THROW(readWholeFile(fifo), qm::VbError);
  EXPECT_THROW(writeWholeFile(fifo, "x"), qm::VbError);
}

TEST_F(FileConfinementTest, ExtraRootsAndNoConfinement) {
  EXPECT_FALSE(fileExists(outside_ + "secret.txt"));
  addConfinementRoot(outside_);  // a disc volume the player chose
  EXPECT_TRUE(fileExists(outside_ + "secret.txt"));
  removeConfinementRoot(outside_);
  EXPECT_FALSE(fileExists(outside_ + "secret.txt"));
  confinement_.reset();
  EXPECT_TRUE(confinementRoots().isEmpty());
  EXPECT_TRUE(fileExists(outside_ + "secret.txt"));
}
