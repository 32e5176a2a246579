#include <gtest/gtest.h>

#include "platform/FileConfinement.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"

using namespace qm::startup;
using qm::platform::MsgIcon;
using qm::testing::GameFolderBuilder;

TEST(StoredMediaNames, TheWorkedExample) {
  EXPECT_EQ(GetStoredMediaFileName("C:\\Game\\Frames\\hall.bmp", true), "C:\\Game\\Frames\\hall.004");
  EXPECT_EQ(GetStoredMediaFileName("C:\\Game\\Frames\\hall.bmp", false), "C:\\Game\\Frames\\hall.223");
  EXPECT_EQ(GetStoredMediaFileName("/games/x/Frames/hall.bmp", false), "/games/x/Frames/hall.223");
}

TEST(StoredMediaNames, LetterCaseDoesNotChangeTheCode) {
  EXPECT_EQ(GetStoredMediaFileName("A.BMP", false).right(4), GetStoredMediaFileName("a.bmp", false).right(4));
  EXPECT_EQ(GetStoredMediaFileName("Frames\\HALL.BMP", false), "Frames\\HALL.223");
}

TEST(StoredMediaNames, OtherNamesStayAsTheyAre) {
  EXPECT_EQ(GetStoredMediaFileName("a.mpeg", false), "a.mpeg");
  EXPECT_EQ(GetStoredMediaFileName("x.au", false), "x.au");
  EXPECT_EQ(GetStoredMediaFileName("C:\\dir.bmp\\abc", false), "C:\\dir.bmp\\abc");
  EXPECT_EQ(GetStoredMediaFileName("", true), "");
  EXPECT_EQ(GetStoredMediaFileName("Long\\.bmp", true), "Long\\.bmp");  // title shorter than 5
  EXPECT_EQ(GetStoredMediaFileName("notes.txt", true), "notes.txt");
}

TEST(StoredMediaNames, EveryTypeCode) {
  const std::pair<const char*, const char*> plain[] = {
      {"abcde.ico", "abcde.002"}, {"abcde.cur", "abcde.003"}, {"abcde.jpg", "abcde.005"},
      {"abcde.gif", "abcde.006"}, {"abcde.wmf", "abcde.007"}, {"abcde.emf", "abcde.008"},
      {"abcde.wav", "abcde.010"}, {"abcde.mid", "abcde.011"}, {"abcde.mp3", "abcde.012"},
      {"abcde.avi", "abcde.014"}, {"abcde.wma", "abcde.016"}, {"abcde.mpg", "abcde.020"},
      {"abcde.mpe", "abcde.024"}, {"abcde.m1v", "abcde.026"}, {"abcde.wmv", "abcde.028"},
      {"abcde.ogg", "abcde.031"}, {"abcde.snd", "abcde.034"}, {"abcde.rmi", "abcde.036"},
      {"abcde.mpa", "abcde.038"}, {"abcde.mp2", "abcde.040"}, {"abcde.asf", "abcde.044"}};
  for (const auto& [in, out] : plain) EXPECT_EQ(GetStoredMediaFileName(in, true), out);
}

TEST(StoredMediaNames, MixedCodesUseTheFirstThreeLetters) {
  // "wav" code 10: v = a1 * 2 - a2 + a3 * 1.
  // "door": d=100 o=111 o=111 -> 200 - 111 + 111 = 200 -> 210.
  EXPECT_EQ(GetStoredMediaFileName("door.wav", false), "door.210");
  // ".mid" code 11: v = a1 * 3 - a2 + a3 * 2; "\xE9t\xE9s" (Windows-1252 233) -> 699 - 116 + 466 = 1049 -> 1060.
  EXPECT_EQ(GetStoredMediaFileName(QString::fromUtf8("été1.mid"), false), QString::fromUtf8("été1.1060"));
  // ".ico" code 2: v = a1 * 3 - a2 + a3; "!~!" -> 99 - 126 + 33 = 6 -> 8, written with three digits.
  EXPECT_EQ(GetStoredMediaFileName("!~!!!.ico", false), "!~!!!.008");
  // A negative mix counts by its size: "!þ!" -> 99 - 254 + 33 = -122 -> 124.
  EXPECT_EQ(GetStoredMediaFileName(QString::fromUtf8("!þ!!!.ico"), false), QString::fromUtf8("!þ!!!.124"));
}

namespace {

class LocateMediaFileTest : public qm::testing::ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    SetDefaultInterfaceTexts(false);
    setProjectFolder(game_.root());
  }
  QString missingText(const QString& path) {
    return "The following file is missing:\r\n" + path +
           "\r\n\r\nThis file may have been moved or removed from its original location. The program may not "
           "work properly until the missing file is placed back in its original location. Press 'Esc' and the "
           "click 'Exit' to quit.";
  }
  GameFolderBuilder game_;
};

}  // namespace

TEST_F(LocateMediaFileTest, AnExistingFileIsReturnedAsNamed) {
  game_.file("Frames/Hall.BMP", "x");
  const QString asked = project().paths.frames + "hall.bmp";
  EXPECT_EQ(LocateMediaFile(asked), asked);
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(LocateMediaFileTest, StoredNamesAreFoundMixedFirst) {
  game_.file("Frames/hall.004", "plain");
  const QString asked = project().paths.frames + "hall.bmp";
  EXPECT_EQ(LocateMediaFile(asked), project().paths.frames + "hall.004");
  game_.file("Frames/HALL.223", "mixed");
  EXPECT_EQ(LocateMediaFile(asked), project().paths.frames + "hall.223");
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(LocateMediaFileTest, AMissingFileWarnsEveryTime) {
  const QString asked = project().paths.areas + "gone.bmp";
  EXPECT_EQ(LocateMediaFile(asked), asked);
  EXPECT_EQ(LocateMediaFile(asked), asked);
  ASSERT_EQ(boxCount(), 2u);
  EXPECT_EQ(lastBox().text, missingText(asked));
  EXPECT_EQ(lastBox().title, "Error");
  EXPECT_EQ(lastBox().icon, MsgIcon::Warning);
}

TEST_F(LocateMediaFileTest, NoWarningOnceTheGameIsStopped) {
  SetGameStopped(true);
  LocateMediaFile(project().paths.areas + "gone.bmp");
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(LocateMediaFileTest, ShortAndEmptyPathsWarnWithoutTryingStoredNames) {
  EXPECT_EQ(LocateMediaFile(""), "");
  EXPECT_EQ(LocateMediaFile("a.bm"), "a.bm");
  ASSERT_EQ(boxCount(), 2u);
  EXPECT_EQ(dialogs().shown()[0].text, missingText(""));
}

