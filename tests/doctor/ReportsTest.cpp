// The doctor's reports: the JSON document tools read (checked against a
// golden file) and the text report with its summary line.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "doctor/Doctor.h"
#include "doctor/PlantedGame.h"
#include "doctor/Reports.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"

namespace qm::testing {
namespace {

class ReportsTest : public ProjectTest {};

TEST_F(ReportsTest, JsonOfThePlantedGameMatchesTheGoldenFile) {
  GameFolderBuilder game;
  buildPlantedGame(game, allFaults());
  const QByteArray actual = doctor::jsonReport(doctor::checkGameFolder(game.root()));
  QFile golden(QStringLiteral(QM_SOURCE_DIR "/tests/doctor/golden/planted.json"));
  const QByteArray expected = golden.open(QIODevice::ReadOnly) ? golden.readAll() : QByteArray();
  EXPECT_TRUE(expected == actual) << "the report now reads:\n" << actual.toStdString();
}

TEST_F(ReportsTest, JsonCountsAgreeWithTheFindings) {
  GameFolderBuilder game;
  buildPlantedGame(game, {Fault::MissingSound, Fault::UnreachableFrame});
  const doctor::CheckResult r = doctor::checkGameFolder(game.root());
  const QJsonObject o = QJsonDocument::fromJson(doctor::jsonReport(r)).object();
  EXPECT_EQ(o.value("errors").toInt(), 1);
  EXPECT_EQ(o.value("warnings").toInt(), 0);
  EXPECT_EQ(o.value("notes").toInt(), 1);
  EXPECT_EQ(o.value("files").toInt(), r.filesChecked);
  EXPECT_EQ(o.value("findings").toArray().size(), 2);
}

TEST_F(ReportsTest, TextReportHasOneLinePerFindingThenTheSummary) {
  GameFolderBuilder game;
  buildPlantedGame(game, {Fault::MissingSound, Fault::UnreachableFrame});
  const doctor::CheckResult r = doctor::checkGameFolder(game.root());
  const QStringList lines = doctor::textReport(r).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3);
  EXPECT_TRUE(lines[0].startsWith("Frames/Attic.fme: note: no path from the initial frame reaches \"Attic\""))
      << lines[0].toStdString();
  EXPECT_TRUE(lines[0].endsWith("[unreachable-frame]"));
  EXPECT_TRUE(lines[1].startsWith("Frames/Hall.fme:1: background sound: error: the sound \"Wind.wav\" is not in Areas/"))
      << lines[1].toStdString();
  EXPECT_EQ(lines[2], QStringLiteral("1 errors, 0 warnings, 1 notes in %1 files").arg(r.filesChecked));
}

TEST_F(ReportsTest, AMessageWithLineBreaksStaysOnOneLine) {
  doctor::CheckResult r;
  r.isGame = true;
  r.findings.error(doctor::Place{"Config/General", 3, 0, "title"}, "x", "first\r\nsecond\nthird");
  const QString text = doctor::textReport(r);
  EXPECT_EQ(text, "Config/General:3: title: error: first second third [x]\n1 errors, 0 warnings, 0 notes in 0 files\n");
}

}  // namespace
}  // namespace qm::testing
