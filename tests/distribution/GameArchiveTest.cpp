// A game played from its archive: unpacked once into the cache folder under
// <name>-<hash>, its game folder found inside at any depth and letter case,
// reused on the next run, and nothing left in the cache when the archive is
// refused, damaged or holds no game.
#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <tuple>

#include "distribution/GameArchive.h"
#include "platform/NativeName.h"
#include "support/ArchiveWriter.h"

namespace qm::testing {
namespace {

namespace fs = std::filesystem;
using distribution::ArchivedGame;
using distribution::openGameArchive;

class GameArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    dir_.setAutoRemove(false);  // removed by bytes below: names need not be UTF-8
  }
  void TearDown() override {
    if (dir_.path().startsWith(QDir::tempPath() + '/')) fs::remove_all(dir_.path().toStdString());
  }
  QString archive(const char* name) const { return dir_.path() + '/' + name; }
  QString cache() const { return dir_.path() + QStringLiteral("/cache/quillmere/archives"); }
  QStringList cacheEntries() const {
    return QDir(cache()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  }

 private:
  QTemporaryDir dir_;
};

std::vector<ArchiveEntry> nestedGame() {
  return {fileEntry("Quest v1/readme.txt", "read me"),
          fileEntry("Quest v1/Extras/notes/Config/readme.txt", "not a game: no General here"),
          fileEntry("Quest v1/Game/CONFIG/general", "General"),
          fileEntry("Quest v1/Game/Frames/Hall.fme", "hall"),
          fileEntry("Quest v1/Game/Deeper/Config/General", "a game inside the game is not the game")};
}

TEST_F(GameArchiveTest, UnpacksIntoTheCacheAndFindsTheShallowestGameInAnyCase) {
  ASSERT_TRUE(writeArchive(archive("My Quest.v1.zip").toStdString(), ArchiveKind::Zip, nestedGame()));
  const ArchivedGame game = openGameArchive(archive("My Quest.v1.zip"), cache());
  ASSERT_TRUE(game.error.isEmpty()) << game.error.toStdString();
  const QStringList entries = cacheEntries();
  ASSERT_EQ(entries.size(), 1) << entries.join(' ').toStdString();  // no temporary folder left
  EXPECT_TRUE(QRegularExpression("^My Quest\\.v1-[0-9a-f]{16}$").match(entries[0]).hasMatch()) << entries[0].toStdString();
  EXPECT_EQ(game.folder, cache() + '/' + entries[0] + QStringLiteral("/Quest v1/Game"));
  EXPECT_EQ(readBytes((game.folder + "/Frames/Hall.fme").toStdString()), "hall");
  EXPECT_TRUE(distribution::isUnpackedArchiveFolder(game.folder, cache()));
  EXPECT_FALSE(distribution::isUnpackedArchiveFolder(archive("elsewhere"), cache()));
}

TEST_F(GameArchiveTest, ASecondRunReusesTheUnpackedGameAndAChangedArchiveGetsItsOwn) {
  const QString path = archive("quest.tar.gz");
  ASSERT_TRUE(writeArchive(path.toStdString(), ArchiveKind::TarGz, nestedGame()));
  const ArchivedGame first = openGameArchive(path, cache());
  ASSERT_TRUE(first.error.isEmpty()) << first.error.toStdString();
  EXPECT_TRUE(first.folder.startsWith(cache() + QStringLiteral("/quest-")));
  // Not unpacked again: what is in the cache stays as it is.
  writeBytes((first.folder + "/Frames/Hall.fme").toStdString(), "changed in the cache");
  const ArchivedGame second = openGameArchive(path, cache());
  EXPECT_EQ(second.folder, first.folder);
  EXPECT_EQ(readBytes((second.folder + "/Frames/Hall.fme").toStdString()), "changed in the cache");

  // A new version of the archive under the same name is unpacked afresh.
  std::vector<ArchiveEntry> updated = nestedGame();
  updated[3].data = "hall, second edition";
  ASSERT_TRUE(writeArchive(path.toStdString(), ArchiveKind::TarGz, updated));
  fs::last_write_time(path.toStdString(), fs::last_write_time(path.toStdString()) + std::chrono::hours(1));
  const ArchivedGame third = openGameArchive(path, cache());
  ASSERT_TRUE(third.error.isEmpty()) << third.error.toStdString();
  EXPECT_NE(third.folder, first.folder);
  EXPECT_EQ(readBytes((third.folder + "/Frames/Hall.fme").toStdString()), "hall, second edition");
}

TEST_F(GameArchiveTest, AGameFolderNamedOutsideAsciiIsFoundAndKeptByItsBytes) {
  // 7z stores names in Unicode: they land in UTF-8. A zip from an old Windows
  // stores the code page's raw bytes: they land as those bytes.
  const std::string utf8 = "Ch\xC3\xA2teau";  // "Château"
  const std::string raw = "Ch\xE2teau";        // "Château" in Windows-1252
  ASSERT_TRUE(writeArchive(archive("chateau.7z").toStdString(), ArchiveKind::SevenZip,
                           {fileEntry(utf8 + "/Config/General", "General 7z")}));
  ASSERT_TRUE(writeArchive(archive("chateau.tar").toStdString(), ArchiveKind::Tar,
                           {fileEntry(raw + "/Config/General", "General tar")}));
  for (const auto& [name, bytes, content] : {std::tuple{"chateau.7z", utf8, "General 7z"},
                                             std::tuple{"chateau.tar", raw, "General tar"}}) {
    SCOPED_TRACE(name);
    const ArchivedGame game = openGameArchive(archive(name), cache());
    ASSERT_TRUE(game.error.isEmpty()) << game.error.toStdString();
    EXPECT_TRUE(platform::bytesOfName(game.folder).endsWith(QByteArray::fromStdString("/" + bytes)));
    EXPECT_EQ(readBytes(platform::bytesOfName(game.folder).toStdString() + "/Config/General"), content);
  }
}

TEST_F(GameArchiveTest, RefusedDamagedOrGamelessArchivesLeaveNothingInTheCache) {
  ASSERT_TRUE(writeArchive(archive("hostile.tar").toStdString(), ArchiveKind::Tar,
                           {fileEntry("Game/Config/General", "General"), fileEntry("Game/../../../evil", "x")}));
  ASSERT_TRUE(writeArchive(archive("nogame.zip").toStdString(), ArchiveKind::Zip, {fileEntry("readme.txt", "hi")}));
  ASSERT_TRUE(writeArchive(archive("big.zip").toStdString(), ArchiveKind::Zip,
                           {fileEntry("Game/Config/General", "General"), fileEntry("Game/big", std::string(5000, 'b'))}));
  ASSERT_TRUE(writeArchive(archive("whole.zip").toStdString(), ArchiveKind::Zip,
                           {fileEntry("Game/Config/General", "General"), fileEntry("Game/big", std::string(5000, 'b'))}));
  const std::string whole = readBytes(archive("whole.zip").toStdString());
  writeBytes(archive("cut.zip").toStdString(), whole.substr(0, whole.size() / 3));

  distribution::ArchiveLimits small;
  small.maxUnpackedBytes = 4000;
  const struct {
    const char* archive;
    const char* message;
  } cases[] = {{"hostile.tar", "outside the archive's folder"},
               {"nogame.zip", "holds no game: no folder in it has the project information file Config\\General"},
               {"big.zip", "unpacks to more than 4000 bytes"},
               {"cut.zip", "damaged or truncated"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.archive);
    const ArchivedGame game = openGameArchive(archive(c.archive), cache(), small);
    EXPECT_TRUE(game.folder.isEmpty());
    EXPECT_TRUE(game.error.contains(QString::fromUtf8(c.message))) << game.error.toStdString();
    EXPECT_TRUE(game.error.contains(QString::fromUtf8(c.archive))) << game.error.toStdString();
    EXPECT_TRUE(cacheEntries().isEmpty()) << cacheEntries().join(' ').toStdString();
  }
  EXPECT_FALSE(fs::exists(fs::path(archive("evil").toStdString())));
}

TEST_F(GameArchiveTest, UnpackingsLeftByAKilledPlayerAreClearedADayLater) {
  const fs::path cacheBytes(cache().toStdString());
  fs::create_directories(cacheBytes / ".unpacking-old1" / "Game");
  writeBytes((cacheBytes / ".unpacking-old1" / "Game" / "half").native(), "half a game");
  fs::create_directories(cacheBytes / ".unpacking-busy");  // another player's, still unpacking
  fs::last_write_time(cacheBytes / ".unpacking-old1", fs::file_time_type::clock::now() - std::chrono::hours(25));
  ASSERT_TRUE(writeArchive(archive("quest.zip").toStdString(), ArchiveKind::Zip, nestedGame()));
  const ArchivedGame game = openGameArchive(archive("quest.zip"), cache());
  ASSERT_TRUE(game.error.isEmpty()) << game.error.toStdString();
  EXPECT_FALSE(fs::exists(cacheBytes / ".unpacking-old1"));
  EXPECT_TRUE(fs::exists(cacheBytes / ".unpacking-busy"));
}

}  // namespace
}  // namespace qm::testing
