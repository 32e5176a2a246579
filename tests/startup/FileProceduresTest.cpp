#include <gtest/gtest.h>

#include "startup/FileProcedures.h"
#include "startup/Project.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"

using namespace qm::startup;
using qm::testing::GameFolderBuilder;

namespace {
class FileProceduresTest : public qm::testing::ProjectTest {
 protected:
  GameFolderBuilder game_;
};
}  // namespace

TEST_F(FileProceduresTest, ListFilesGivesOnlyPlainFiles) {
  game_.file("CPData/a.ocx", "x").file("CPData/X.OCX", "x").file("CPData/.hidden.ocx", "x").folder("CPData/dir.ocx");
  QStringList all = ListFiles(game_.path("CPData"), "");
  all.sort();
  EXPECT_EQ(all, QStringList({".hidden.ocx", "X.OCX", "a.ocx"}));
  QStringList ocx = ListFiles(game_.path("cpdata\\"), "*.ocx");
  ocx.sort();
  EXPECT_EQ(ocx, QStringList({".hidden.ocx", "a.ocx"}));
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(FileProceduresTest, ListFilesPatterns) {
  game_.file("External/save1.sav", "").file("External/save22.sav", "").file("External/notes.txt", "");
  QStringList one = ListFiles(game_.path("External"), "save?.sav");
  EXPECT_EQ(one, QStringList({"save1.sav"}));
  EXPECT_EQ(ListFiles(game_.path("External"), "*.SAV"), QStringList());
  EXPECT_EQ(ListFiles(game_.path("External"), "n*s.t?t"), QStringList({"notes.txt"}));
}

TEST_F(FileProceduresTest, ListFilesOnAMissingFolderIsEmpty) {
  EXPECT_TRUE(ListFiles(game_.path("NoSuchFolder"), "*.ocx").isEmpty());
  EXPECT_TRUE(ListFiles(game_.path("Frames"), "").isEmpty());
  EXPECT_EQ(boxCount(), 0u);
}

TEST(Wildcards, MatchLikeAFileDialog) {
  EXPECT_TRUE(matchesWildcard("a.ocx", "*.ocx"));
  EXPECT_FALSE(matchesWildcard("X.OCX", "*.ocx"));
  EXPECT_TRUE(matchesWildcard("abc", "a*c"));
  EXPECT_TRUE(matchesWildcard("ac", "a*c"));
  EXPECT_FALSE(matchesWildcard("ab", "a?c"));
  EXPECT_TRUE(matchesWildcard("a.b.c", "*.*.*"));
  EXPECT_TRUE(matchesWildcard("anything", "*"));
  EXPECT_FALSE(matchesWildcard("", "?"));
  EXPECT_TRUE(matchesWildcard("aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*b"));
}

TEST(FileTitles, ThePartAfterTheLastSeparator) {
  EXPECT_EQ(GetFileTitle("C:\\Game\\Frames\\hall.bmp"), "hall.bmp");
  EXPECT_EQ(GetFileTitle("/games/x/Frames/hall.bmp"), "hall.bmp");
  EXPECT_EQ(GetFileTitle("hall.bmp"), "hall.bmp");
  EXPECT_EQ(GetFileTitle("Frames\\"), "");
}

TEST(QuoteSubstitutes, AreTurnedBackIntoQuotes) {
  EXPECT_EQ(DecodeBarQuotes("Say |hi|"), "Say \"hi\"");
  EXPECT_EQ(DecodeChar254Quotes(QString::fromUtf8("Say þhiþ")), "Say \"hi\"");
  EXPECT_EQ(DecodeChar254Quotes("a|b"), "a|b");
}

TEST_F(FileProceduresTest, SafeDirAndDelete) {
  game_.file("External/Data.TXT", "x");
  EXPECT_EQ(SafeDir(game_.path("external\\data.txt")), "Data.TXT");
  DeleteFileIfExists(game_.path("EXTERNAL\\data.txt"));
  EXPECT_EQ(SafeDir(game_.path("external\\data.txt")), "");
  DeleteFileIfExists(game_.path("EXTERNAL\\data.txt"));  // nothing there: no error
  DeleteFileIfExists("");
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(FileProceduresTest, IniAccessThroughTheGamesPaths) {
  EXPECT_TRUE(WriteIniValue(game_.path("External/Game.ini"), "Player", "Name", "Ann"));
  EXPECT_EQ(ReadIniValue(game_.path("external\\GAME.INI"), "player", "name"), "Ann");
  EXPECT_EQ(ReadIniValue(game_.path("external\\none.ini"), "player", "name"), "");
}
