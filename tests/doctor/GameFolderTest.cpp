// The doctor over whole folders: the demo game is clean, and folders of
// damaged files are reported, never crash the doctor.
#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "doctor/Doctor.h"
#include "doctor/PlantedGame.h"
#include "doctor/Reports.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"

namespace qm::testing {
namespace {

class GameFolderTest : public ProjectTest {};

TEST_F(GameFolderTest, TheDemoGameReportsNothing) {
  const doctor::CheckResult r = doctor::checkGameFolder(QStringLiteral(QM_SOURCE_DIR "/demo"));
  ASSERT_TRUE(r.isGame);
  EXPECT_TRUE(r.findings.empty()) << doctor::textReport(r).toStdString();
  EXPECT_GT(r.filesChecked, 40);
}

TEST_F(GameFolderTest, EveryDataFileFilledWithNoiseIsReportedWithoutACrash) {
  const char* files[] = {"Config/General",  "Config/Texts",      "Config/Variables", "Config/Procedures",
                         "Config/Resume",   "Config/CDContents", "Config/Plugins",   "Frames/Hall.fme",
                         "Frames/Hall.lks", "FramesData/Hall.fm1", "FramesData/Hall.fm2", "FramesData/Hall.fm3",
                         "FramesData/Hall.fm0", "FramesData/Hall.fm4", "FramesData/Hall.fm5", "FramesData/Hall.dlg",
                         "Frames/Hall.rwe", "Frames/Hall.chn", "Areas/Key.obj",    "Areas/Key_on_Key.drg"};
  QRandomGenerator random(16);
  for (int round = 0; round < 30; ++round) {
    GameFolderBuilder game;
    buildPlantedGame(game, allFaults());
    for (const char* name : files) {
      QByteArray noise(static_cast<int>(random.bounded(0, 300)), '\0');
      for (char& c : noise) c = static_cast<char>(random.bounded(256));
      // Some rounds keep record syntax so the readers get further.
      if (round % 3 == 0) noise.replace('\0', ',');
      if (round % 3 == 1) noise = "\"" + noise.left(20) + "\",1,-3,#TRUE#,\"----- SEPARATOR -----\"," + noise;
      game.file(name, noise);
    }
    const doctor::CheckResult r = doctor::checkGameFolder(game.root());
    EXPECT_TRUE(r.isGame);
    for (const auto& f : r.findings.all()) EXPECT_NE(f.code, "check-failed") << f.message.toStdString();
  }
}

TEST_F(GameFolderTest, ASchemeThatIsNamedButMissingIsAWarning) {
  GameFolderBuilder game;
  buildPlantedGame(game, {});
  GeneralFields general;
  general.projectName = "Planted";
  general.initialFrame = "Hall";
  general.schemeName = "Harbour";
  game.general(general);
  const doctor::CheckResult r = doctor::checkGameFolder(game.root());
  ASSERT_EQ(r.findings.all().size(), 1u) << doctor::textReport(r).toStdString();
  EXPECT_EQ(r.findings.all()[0].code, "missing-scheme");
  EXPECT_EQ(r.findings.all()[0].severity, doctor::Severity::Warning);
}

}  // namespace
}  // namespace qm::testing
