// Running from CD with a real folder standing in for each disc: loading the
// index, every way a file is found or not, the prompt (its list, texts, the
// unavailable-device warning, the wrong CD then the right one, Cancel), the
// stored drive letter, paths that try to leave the disc, and folders given on
// the command line.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontInfo>

#include "distribution/RunFromCD.h"
#include "distribution/frmRunFromCD.h"
#include "platform/FileConfinement.h"
#include "platform/FileResolver.h"
#include "platform/InterfaceScale.h"
#include "startup/ErrorReport.h"
#include "startup/FileProcedures.h"
#include "startup/InitializeProject.h"
#include "startup/InterfaceTexts.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"
#include "startup/RecordWriter.h"
#include "startup/Settings.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"

namespace qm::testing {
namespace {

using distribution::frmRunFromCD;
using distribution::runFromCD;
using platform::ModalWindow;

class RunFromCDTest : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    game_.file("empty-mounts", "");
    runFromCD().drives().setMountTable(game_.path("empty-mounts"));
    runFromCD().drives().setGivenFolders({});
  }
  void TearDown() override {
    runFromCD().drives().setMountTable("/proc/self/mounts");
    runFromCD().drives().setGivenFolders({});
    runFromCD().clearIndex();
    ProjectTest::TearDown();
  }
  // A game "Castle" on two CDs; the index lists the given records.
  void makeGame(const QList<std::tuple<QString, int, int>>& records, bool marker = true) {
    GeneralFields g;
    g.gameTitle = "Castle";
    game_.general(g);
    startup::RecordWriter w;
    w.str("CD index").integer(0).integer(0).integer(2).str("").str("");
    for (const auto& [name, cd, type] : records) w.str(name).integer(cd).integer(type);
    game_.records("Config/CDContents", w);
    if (marker) game_.file("RunFromCD.dat", "");
    startup::InitializeProject(game_.root());
  }
  // A disc folder holding files under the CD layout (Data\Castle\...), stored names.
  static void onDisc(GameFolderBuilder& disc, const QString& folder, const QString& name) {
    disc.file(startup::GetStoredMediaFileName("Data/Castle/" + folder + "/" + name, false), "data");
  }
  QString framePath(const QString& name) { return startup::project().paths.frames + name; }
  QString areaPath(const QString& name) { return startup::project().paths.areas + name; }
  // The drive letter a folder gets when it is picked.
  QString pick(GameFolderBuilder& disc) { return QString(runFromCD().drives().rememberFolder(disc.root())); }
  std::size_t windowsShown() {
    std::size_t n = 0;
    for (const auto& s : dialogs().shown())
      if (s.kind == platform::RecordingDialogService::Kind::Window) ++n;
    return n;
  }
  void answerWithFolder(GameFolderBuilder& disc) {
    const QString folder = disc.root();
    auto* service = &dialogs();
    dialogs().queueWindowAnswer([service, folder](ModalWindow& w) {
      auto& prompt = dynamic_cast<frmRunFromCD&>(w);
      service->queueFolder(folder);
      prompt.pickLine(prompt.chooseFolderLine());
      prompt.Command3_Click();
    });
  }
  GameFolderBuilder game_;
};

TEST_F(RunFromCDTest, WithoutTheMarkerTheIndexStaysEmptyAndNoDiscIsAsked) {
  makeGame({{"Hall.bmp", 2, 1}}, /*marker=*/false);
  EXPECT_TRUE(runFromCD().index().entries.empty());
  const QString path = framePath("Hall.bmp");
  EXPECT_EQ(runFromCD().LocateOnCD(path), path);
  EXPECT_EQ(windowsShown(), 0u);
  EXPECT_EQ(startup::LoadSetting("DriveLetter"), "");  // not even the letter was looked at
}

TEST_F(RunFromCDTest, TheIndexIsLoadedAtTheEndOfTheStartUp) {
  makeGame({{"Hall.bmp", 2, 1}, {"creak.wav", 1, 2}, {"skip.bmp", 3, 1}});
  ASSERT_EQ(runFromCD().index().entries.size(), 2u);
  EXPECT_EQ(runFromCD().index().entries[1].name, "creak.wav");
}

TEST_F(RunFromCDTest, ABadIndexIsReportedAndNothingOfItCounts) {
  GeneralFields g;
  game_.general(g).file("RunFromCD.dat", "").file("Config/CDContents", "0,0,0,2,0,0\r\n\"a.bmp\",1,1\r\n\"b.bmp\",\"x\"");
  startup::InitializeProject(game_.root());
  EXPECT_TRUE(runFromCD().index().entries.empty());
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text, startup::StandardErrorReportText(" Error loading CD index."));
}

TEST_F(RunFromCDTest, WithNoOpticalDriveAndNoStoredLetterDIsUsedAndStored) {
  makeGame({});
  runFromCD().LocateOnCD(framePath("Hall.bmp"));
  EXPECT_EQ(startup::LoadSetting("DriveLetter"), "d");
}

TEST_F(RunFromCDTest, AFileNotInTheIndexIsFoundInTheDiscsFramesFolderWithoutAPrompt) {
  makeGame({});
  GameFolderBuilder disc;
  onDisc(disc, "Frames", "Tower.bmp");
  startup::SaveSetting("DriveLetter", pick(disc));
  const QString found = runFromCD().LocateOnCD(framePath("tower.BMP"));
  EXPECT_EQ(QFileInfo(found).canonicalFilePath(),
            QFileInfo(disc.path(startup::GetStoredMediaFileName("Data/Castle/Frames/Tower.bmp", false))).canonicalFilePath());
  EXPECT_EQ(windowsShown(), 0u);
  // Not on the disc and not in the index: the stored name of the path itself.
  EXPECT_EQ(runFromCD().LocateOnCD(framePath("none.bmp")), startup::GetStoredMediaFileName(framePath("none.bmp"), false));
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(RunFromCDTest, AnEntryOfAnotherTypeGivesThePathBackWithoutAPrompt) {
  makeGame({{"odd.bmp", 1, 3}});
  const QString path = startup::project().paths.frames + "odd.bmp";
  // FolderOfType gives "" for type 3, so the entry matches only the bare name.
  EXPECT_EQ(runFromCD().LocateOnCD("odd.bmp"), "odd.bmp");
  EXPECT_EQ(runFromCD().LocateOnCD(path), startup::GetStoredMediaFileName(path, false));
  EXPECT_EQ(windowsShown(), 0u);
  EXPECT_EQ(distribution::RunFromCD::FolderOfType("1"), startup::project().paths.frames);
  EXPECT_EQ(distribution::RunFromCD::FolderOfType("2"), startup::project().paths.areas);
  EXPECT_EQ(distribution::RunFromCD::FolderOfType("3"), "");
}

TEST_F(RunFromCDTest, TheRightDiscAlreadyThereIsUsedWithoutAPrompt) {
  makeGame({{"creak.wav", 2, 2}});
  GameFolderBuilder disc;
  onDisc(disc, "Areas", "creak.wav");
  startup::SaveSetting("DriveLetter", pick(disc));
  const QString found = runFromCD().LocateOnCD(areaPath("CREAK.wav"));
  EXPECT_TRUE(found.endsWith(startup::GetStoredMediaFileName("creak.wav", false))) << found.toStdString();
  EXPECT_TRUE(QFile::exists(found));
  EXPECT_EQ(windowsShown(), 0u);
}

TEST_F(RunFromCDTest, ThePromptListsTheDrivesAndAsksForTheCdByNumber) {
  makeGame({{"Hall.bmp", 2, 1}});
  GameFolderBuilder disc;
  pick(disc);
  QStringList lines;
  QString message, label, cancel, text;
  dialogs().queueWindowAnswer([&](ModalWindow& w) {
    auto& prompt = dynamic_cast<frmRunFromCD&>(w);
    lines = prompt.driveLines();
    message = prompt.message();
    label = prompt.driveLabel();
    cancel = prompt.cancelCaption();
    text = prompt.driveText();
    prompt.Command4_Click();
  });
  runFromCD().LocateOnCD(framePath("Hall.bmp"));
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].startsWith("D:\\ (Folder)  ")) << lines[0].toStdString();
  EXPECT_TRUE(lines[0].endsWith(QDir::toNativeSeparators(QDir(disc.root()).canonicalPath())));
  EXPECT_EQ(lines[1], QString::fromUtf16(u"Choose folder\u2026"));
  EXPECT_EQ(message, "Please insert the CD#2 in the CD-Rom drive and click OK to continue...");
  EXPECT_EQ(label, startup::InterfaceText(37));
  EXPECT_EQ(cancel, startup::InterfaceText(11));
  EXPECT_EQ(text, "d:\\");  // the stored (detected) letter
}

// With the game drawn at twice its size, the prompt's text is twice as large.
TEST_F(RunFromCDTest, ThePromptGrowsWithTheGamePicture) {
  makeGame({{"Hall.bmp", 2, 1}});
  auto pointSize = [&](double scale) {
    platform::SetInterfaceScale(scale);
    double seen = 0;
    dialogs().queueWindowAnswer([&](ModalWindow& w) {
      auto& prompt = dynamic_cast<frmRunFromCD&>(w);
      seen = QFontInfo(prompt.font()).pointSizeF();
      prompt.Command4_Click();
    });
    runFromCD().LocateOnCD(framePath("Hall.bmp"));
    platform::SetInterfaceScale(1.0);
    return seen;
  };
  const double own = pointSize(1.0);
  ASSERT_GT(own, 0);
  startup::SetGameStopped(false);
  EXPECT_NEAR(pointSize(2.0), 2 * own, 0.6);
}

TEST_F(RunFromCDTest, ADriveThatIsNotThereShowsTheUnavailableWarningAndKeepsThePromptOpen) {
  makeGame({{"Hall.bmp", 2, 1}});
  bool stillOpen = false;
  dialogs().queueWindowAnswer([&](ModalWindow& w) {
    auto& prompt = dynamic_cast<frmRunFromCD&>(w);
    prompt.setDriveText("Q:\\");
    prompt.Command3_Click();
    stillOpen = prompt.isOpen();
  });
  dialogs().queueWindowAnswer([](ModalWindow& w) { dynamic_cast<frmRunFromCD&>(w).Command4_Click(); });
  runFromCD().LocateOnCD(framePath("Hall.bmp"));
  EXPECT_TRUE(stillOpen);
  bool warned = false;
  for (const auto& s : dialogs().shown())
    if (s.text == startup::InterfaceText(38) && s.title == "Castle" && s.icon == platform::MsgIcon::Warning) warned = true;
  EXPECT_TRUE(warned);
  EXPECT_EQ(startup::LoadSetting("DriveLetter"), "d");  // nothing stored
}

TEST_F(RunFromCDTest, TheWrongDiscWarnsFileNotFoundThenTheRightOneIsUsed) {
  makeGame({{"Hall.bmp", 2, 1}});
  GameFolderBuilder wrong, right;
  onDisc(wrong, "Frames", "Other.bmp");
  onDisc(right, "Frames", "Hall.bmp");
  answerWithFolder(wrong);
  answerWithFolder(right);
  const QString found = runFromCD().LocateOnCD(framePath("Hall.bmp"));
  EXPECT_EQ(QFileInfo(found).canonicalFilePath(),
            QFileInfo(right.path(startup::GetStoredMediaFileName("Data/Castle/Frames/Hall.bmp", false))).canonicalFilePath());
  EXPECT_EQ(windowsShown(), 2u);
  std::size_t notFound = 0;
  for (const auto& s : dialogs().shown())
    if (s.text.startsWith("File Not Found:\r\n\r\n") &&
        s.text.endsWith("\r\n\r\nThe file may be missing, or you may have inserted the wrong CD.")) {
      ++notFound;
      EXPECT_TRUE(s.text.contains(QDir(wrong.root()).canonicalPath())) << s.text.toStdString();
    }
  EXPECT_EQ(notFound, 1u);
  EXPECT_EQ(startup::LoadSetting("DriveLetter"), QString(runFromCD().drives().rememberFolder(right.root())));
  EXPECT_FALSE(startup::GameStopped());
}

TEST_F(RunFromCDTest, AWrongDiscAnsweredFirstIsNoAllowedFolderAfterwards) {
  makeGame({{"Hall.bmp", 2, 1}});
  GameFolderBuilder wrong, right;
  onDisc(wrong, "Frames", "Other.bmp");
  onDisc(right, "Frames", "Hall.bmp");
  answerWithFolder(wrong);
  answerWithFolder(right);
  ASSERT_FALSE(runFromCD().LocateOnCD(framePath("Hall.bmp")).isEmpty());
  const QStringList roots = platform::confinementRoots();
  EXPECT_FALSE(roots.contains(platform::realPathOf(wrong.root())));
  EXPECT_TRUE(roots.contains(platform::realPathOf(right.root())));
  EXPECT_FALSE(platform::fileExists(wrong.path(startup::GetStoredMediaFileName("Data/Castle/Frames/Other.bmp", false))));
}

TEST_F(RunFromCDTest, CancelStopsTheGameAndNoMissingFileWarningFollows) {
  makeGame({{"Hall.bmp", 2, 1}});
  dialogs().queueWindowAnswer([](ModalWindow& w) { dynamic_cast<frmRunFromCD&>(w).Command4_Click(); });
  const QString located = startup::LocateMediaFile(framePath("Hall.bmp"));
  EXPECT_TRUE(startup::GameStopped());
  EXPECT_FALSE(QFile::exists(located));
  EXPECT_EQ(boxCount(), 1u);  // the prompt only
  startup::SetGameStopped(false);
}

TEST_F(RunFromCDTest, PathsThatClimbOutOfTheDiscAreNeverFoundAndNeverPrompt) {
  GameFolderBuilder outside;
  outside.file("secret.bmp", "x");
  makeGame({{"..\\..\\..\\..\\secret.bmp", 1, 1}});
  GameFolderBuilder disc;
  startup::SaveSetting("DriveLetter", pick(disc));
  const QString path = framePath("..\\..\\..\\..\\secret.bmp");
  EXPECT_EQ(runFromCD().LocateOnCD(path), path);
  EXPECT_EQ(windowsShown(), 0u);
  EXPECT_EQ(runFromCD().fileOnDrive("D", "..\\" + QFileInfo(outside.root() + "secret.bmp").fileName()), "");
  // A link inside the disc that points outside it does not count either.
  QDir(disc.root()).mkpath("Data/Castle/Frames");
  ASSERT_TRUE(QFile::link(outside.root() + "secret.bmp",
                          disc.path(startup::GetStoredMediaFileName("Data/Castle/Frames/secret.bmp", false))));
  EXPECT_EQ(runFromCD().fileOnDrive("D", startup::GetStoredMediaFileName("Data\\Castle\\Frames\\secret.bmp", false)), "");
}

TEST_F(RunFromCDTest, FoldersGivenForTheRunAreUsedForTheirCdsWithoutAPrompt) {
  makeGame({{"Hall.bmp", 2, 1}});
  GameFolderBuilder cd1, cd2;
  onDisc(cd2, "Frames", "Hall.bmp");
  onDisc(cd1, "Frames", "Gate.bmp");
  runFromCD().drives().setGivenFolders({cd1.root(), cd2.root()});
  EXPECT_TRUE(QFile::exists(runFromCD().LocateOnCD(framePath("Hall.bmp"))));
  EXPECT_TRUE(QFile::exists(runFromCD().LocateOnCD(framePath("Gate.bmp"))));  // not indexed: any given disc
  EXPECT_EQ(windowsShown(), 0u);
}

}  // namespace
}  // namespace qm::testing
