// Where a data file stopped parsing: the line, record and field the doctor
// reports, and the stop point the record reader keeps for it.
#include <gtest/gtest.h>

#include "doctor/DataFile.h"
#include "doctor/Doctor.h"
#include "doctor/PlantedGame.h"
#include "startup/RecordReader.h"
#include "support/FrameRecords.h"
#include "support/HotspotRecords.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"

namespace qm::testing {
namespace {

using doctor::DataFile;

DataFile fileOf(const QByteArray& bytes) { return DataFile{"x", "x", bytes}; }

TEST(ReadingPlacesTest, LinesCountFromOneAtEveryLineFeed) {
  const DataFile f = fileOf("a\r\nb\r\n\r\nc");
  EXPECT_EQ(f.lineAt(0), 1);
  EXPECT_EQ(f.lineAt(2), 1);  // the CR still belongs to line 1
  EXPECT_EQ(f.lineAt(3), 2);
  EXPECT_EQ(f.lineAt(8), 4);
  EXPECT_EQ(f.lineAt(999), 4);
}

TEST(ReadingPlacesTest, FieldsCountFromTheRecordStartAcrossLines) {
  // A comma at a line end leaves an empty field before the line end.
  const QByteArray bytes = "1,\"a\"\r\n\"----- SEPARATOR -----\"\r\n7, 8,\r\n  \"x\"\r\n";
  const DataFile f = fileOf(bytes);
  const qsizetype second = bytes.indexOf("7");
  EXPECT_EQ(f.fieldNumber(second, second), 1);
  EXPECT_EQ(f.fieldNumber(second, bytes.indexOf("8")), 2);
  EXPECT_EQ(f.fieldNumber(second, bytes.indexOf("\"x\"")), 4);
  EXPECT_EQ(f.fieldNumber(0, bytes.indexOf("\"a\"")), 2);
}

TEST(ReadingPlacesTest, TheReaderRemembersTheFieldThatFailed) {
  startup::RecordReader in(QByteArray("1, 2\r\n\"three\", 4"));
  in.readInt16();
  in.readInt16();
  EXPECT_THROW(in.readInt16(), VbError);  // a quoted word is no number
  EXPECT_EQ(in.fieldStart(), 6);
  in.readInt16();
  EXPECT_THROW(in.readInt16(), VbError);  // nothing is left
  EXPECT_EQ(in.fieldStart(), 16);
}

TEST(ReadingPlacesTest, PeekingAtTheRecordEndDoesNotMoveTheStopPoint) {
  startup::RecordReader in(QByteArray("1, \"----- SEPARATOR -----\""));
  in.readInt16();
  const qsizetype before = in.fieldStart();
  EXPECT_TRUE(in.atRecordEnd());
  EXPECT_EQ(in.fieldStart(), before);
}

class ReadingPlacesGameTest : public ProjectTest {};

TEST_F(ReadingPlacesGameTest, AFrameFileThatEndsEarlyNamesItsLastField) {
  GameFolderBuilder game;
  buildPlantedGame(game, {});
  // Eight of the ten fields every frame file has.
  game.file("Frames/Study.fme", "0,\"0\",#FALSE#\r\n#FALSE#,\"\",#TRUE#,5,\"Hall\"\r\n");
  const doctor::CheckResult r = doctor::checkGameFolder(game.root());
  ASSERT_EQ(r.findings.all().size(), 1u);
  const doctor::Finding& f = r.findings.all()[0];
  EXPECT_EQ(f.code, "unparsable-file");
  EXPECT_EQ(f.place.file, "Frames/Study.fme");
  EXPECT_EQ(f.place.field, "field 9");
  EXPECT_EQ(f.place.line, 3);
  EXPECT_TRUE(f.message.contains("the file ends too early")) << f.message.toStdString();
}

TEST_F(ReadingPlacesGameTest, HotspotRecordsAfterABrokenOneAreStillRead) {
  GameFolderBuilder game;
  buildPlantedGame(game, {});
  // Hotspot 1 breaks; hotspot 2's condition still names an undeclared variable.
  HotspotSpec broken;
  HotspotSpec second;
  second.useConditions = 1;
  second.mustBeTrue = {"Nowhere"};
  QByteArray bytes = hotspotFileBytes({broken, second});
  bytes.replace(bytes.indexOf("1500"), 4, "\"wide\"");
  game.file("FramesData/Hall.fm2", bytes);
  const doctor::CheckResult r = doctor::checkGameFolder(game.root());
  QStringList codes;
  for (const auto& f : r.findings.all()) codes << f.code + "@" + QString::number(f.place.record);
  EXPECT_EQ(codes, (QStringList{"unparsable-file@1", "undeclared-variable@2"}));
}

}  // namespace
}  // namespace qm::testing
