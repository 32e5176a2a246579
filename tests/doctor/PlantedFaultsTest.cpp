// The doctor finds each kind of fault planted in an otherwise clean game, at
// the place where it is, and nothing else.
#include <gtest/gtest.h>

#include <QFile>

#include "doctor/Doctor.h"
#include "doctor/PlantedGame.h"
#include "startup/MediaFiles.h"
#include "startup/RecordWriter.h"
#include "support/ActionRecords.h"
#include "support/FrameRecords.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"

namespace qm::testing {
namespace {

using doctor::CheckResult;
using doctor::Finding;
using doctor::Severity;

struct Expected {
  Fault fault;
  const char* code;
  const char* file;
  int record;        // -1: not checked
  const char* field; // nullptr: not checked
  Severity severity = Severity::Error;
  int line = -1;     // -1: not checked
};

const Expected kExpected[] = {
    {Fault::UnparsableHotspot, "unparsable-file", "FramesData/Study.fm2", 1, "field 11", Severity::Error, 1},
    {Fault::MissingSound, "missing-file", "Frames/Hall.fme", 0, "background sound"},
    {Fault::UndecodablePicture, "undecodable-file", "FramesData/Hall.fm2", 1, "picture"},
    {Fault::UndecodableSound, "undecodable-file", "FramesData/Hall.fm3", 2, "music"},
    {Fault::UnknownTimerFrame, "unknown-frame", "Frames/Study.fme", 0, "frame timer"},
    {Fault::UnknownScriptFrame, "unknown-frame", "FramesData/Study.fm3", 1, "script"},
    {Fault::UnknownResumeFrame, "unknown-frame", "Config/Resume", 1, "resume frame"},
    {Fault::UndeclaredVariable, "undeclared-variable", "FramesData/Hall.fm2", 2, "condition (must be 0)"},
    {Fault::VariableCase, "variable-case", "FramesData/Hall.fm3", 2, "variable"},
    {Fault::DialogueSyntax, "script-error", "FramesData/Study.dlg", 1, "script 2"},
    // The code starts after three header lines: its second line is the file's fifth.
    {Fault::ProcedureSyntax, "script-error", "Config/Procedures", 0, nullptr, Severity::Error, 5},
    {Fault::WrongArgumentCount, "wrong-argument-count", "FramesData/Hall.fm3", 1, "script"},
    {Fault::UnknownObject, "unknown-object", "Frames/Study.fme", 0, "start-up code"},
    {Fault::UnknownComponent, "unknown-component", "FramesData/Hall.fm3", 2, "script"},
    {Fault::UnreachableFrame, "unreachable-frame", "Frames/Attic.fme", 0, nullptr, Severity::Note},
    {Fault::UnknownItem, "unknown-item", "FramesData/Hall.fm3", 2, "item"},
};

std::string describe(const CheckResult& r) {
  std::string out;
  for (const Finding& f : r.findings.all())
    out += (f.place.file + ":" + QString::number(f.place.line) + " r" + QString::number(f.place.record) + " [" +
            f.place.field + "] " + f.code + ": " + f.message + "\n")
               .toStdString();
  return out;
}

bool matches(const Finding& f, const Expected& e) {
  return f.code == QLatin1String(e.code) && f.place.file == QLatin1String(e.file) && f.severity == e.severity &&
         (e.record < 0 || f.place.record == e.record) && (!e.field || f.place.field == QLatin1String(e.field)) &&
         (e.line < 0 || f.place.line == e.line);
}

class PlantedFaultsTest : public ProjectTest {};

TEST_F(PlantedFaultsTest, TheCleanGameHasNoFindings) {
  GameFolderBuilder game;
  buildPlantedGame(game, {});
  const CheckResult r = doctor::checkGameFolder(game.root());
  ASSERT_TRUE(r.isGame);
  EXPECT_TRUE(r.findings.empty()) << describe(r);
  EXPECT_GT(r.filesChecked, 10);
}

TEST_F(PlantedFaultsTest, EachFaultAloneIsFoundWhereItIsAndNothingElse) {
  for (const Expected& e : kExpected) {
    GameFolderBuilder game;
    buildPlantedGame(game, {e.fault});
    const CheckResult r = doctor::checkGameFolder(game.root());
    ASSERT_EQ(r.findings.all().size(), 1u) << e.code << "\n" << describe(r);
    EXPECT_TRUE(matches(r.findings.all()[0], e)) << e.code << "\n" << describe(r);
  }
}

TEST_F(PlantedFaultsTest, AllFaultsTogetherAreEachFound) {
  GameFolderBuilder game;
  buildPlantedGame(game, allFaults());
  const CheckResult r = doctor::checkGameFolder(game.root());
  for (const Expected& e : kExpected) {
    const bool found = std::any_of(r.findings.all().begin(), r.findings.all().end(),
                                   [&](const Finding& f) { return matches(f, e); });
    EXPECT_TRUE(found) << e.code << " in " << e.file << "\n" << describe(r);
  }
  EXPECT_EQ(r.findings.count(Severity::Note), 1) << describe(r);
}

TEST_F(PlantedFaultsTest, MessagesNameWhatIsWrongInTheAuthorsWords) {
  GameFolderBuilder game;
  buildPlantedGame(game, {Fault::VariableCase, Fault::WrongArgumentCount, Fault::ProcedureSyntax});
  const CheckResult r = doctor::checkGameFolder(game.root());
  QStringList messages;
  for (const Finding& f : r.findings.all()) messages << f.message;
  const QString all = messages.join('\n');
  EXPECT_TRUE(all.contains("\"haskey\" differs only in letter case from the declared variable \"HasKey\"")) << all.toStdString();
  EXPECT_TRUE(all.contains("AddItem takes 2 arguments, not 1 (script line 1)")) << all.toStdString();
  EXPECT_TRUE(all.contains("script line 2")) << all.toStdString();
}

TEST_F(PlantedFaultsTest, ScriptsThatShadowALibraryMemberAreLeftAlone) {
  GameFolderBuilder game;
  buildPlantedGame(game, {});
  // The game's own AddItem with one argument is what the script calls.
  game.file("Config/Procedures", "'\r\n'\r\n'\r\nSub AddItem(x)\r\nEnd Sub\r\nSub Greet()\r\n  AddItem 1\r\nEnd Sub\r\n");
  const CheckResult r = doctor::checkGameFolder(game.root());
  EXPECT_TRUE(r.findings.empty()) << describe(r);
}

TEST_F(PlantedFaultsTest, CreateObjectInAGameThatDoesNotAllowItIsAWarning) {
  GameFolderBuilder game;
  buildPlantedGame(game, {});
  game.moreIni("General", "AllowCreateObject", "0");
  const CheckResult r = doctor::checkGameFolder(game.root());
  ASSERT_EQ(r.findings.all().size(), 1u) << describe(r);
  EXPECT_EQ(r.findings.all()[0].code, "create-object-disabled");
  EXPECT_EQ(r.findings.all()[0].severity, Severity::Warning);
}

TEST_F(PlantedFaultsTest, OnlyTheObjectsTheScriptHostMakesAreProvided) {
  const std::pair<const char*, bool> cases[] = {
      {"Scripting.FileSystemObject", true}, {"scripting.dictionary", true},
      {"VBScript.RegExp", false},  // the engine has one, but games never got it from CreateObject
      {"WScript.Shell", false}};
  for (const auto& [progId, provided] : cases) {
    GameFolderBuilder game;
    buildPlantedGame(game, {});
    FrameSpec frame;
    frame.runFrameProcedure = true;
    frame.frameProcedure = QStringLiteral("Set o = CreateObject(|%1|)").arg(progId);
    game.file("Frames/Study.fme", frameFileBytes(frame));
    const CheckResult r = doctor::checkGameFolder(game.root());
    // Study has no frame timer now; Hall still leads there.
    EXPECT_EQ(r.findings.empty(), provided) << progId << "\n" << describe(r);
  }
}

TEST_F(PlantedFaultsTest, MediaUnderTheirStoredNamesOrOnTheCdAreFound) {
  GameFolderBuilder game;
  buildPlantedGame(game, {Fault::MissingSound});
  // Hall.fme's background sound "Wind.wav" is listed on CD 1.
  startup::RecordWriter index;
  index.integer(0).integer(0).integer(0).integer(1).integer(0).integer(0).endRecord();
  index.str("WIND.WAV").integer(1).integer(2).endRecord();
  game.records("Config/CDContents", index);
  EXPECT_TRUE(doctor::checkGameFolder(game.root()).findings.empty());
}

TEST_F(PlantedFaultsTest, MediaUnderTheirCodedNamesAreFound) {
  for (bool plain : {false, true}) {
    GameFolderBuilder game;
    buildPlantedGame(game, {});
    // A built project keeps oakdoor.bmp under a coded name only.
    const QString coded = startup::GetStoredMediaFileName(game.path("Areas/oakdoor.bmp"), plain);
    ASSERT_NE(coded, game.path("Areas/oakdoor.bmp"));
    ASSERT_TRUE(QFile::rename(game.path("Areas/oakdoor.bmp"), coded));
    const CheckResult r = doctor::checkGameFolder(game.root());
    EXPECT_TRUE(r.findings.empty()) << describe(r);
  }
}

TEST_F(PlantedFaultsTest, AResumeEntryLeadsOnlyFromAFrameThatIsReached) {
  GameFolderBuilder game;
  buildPlantedGame(game, {});
  game.file("Frames/Attic.fme", frameFileBytes(FrameSpec{}));
  game.file("Frames/Roof.fme", frameFileBytes(FrameSpec{}));
  game.file("Frames/Tower.fme", frameFileBytes(FrameSpec{}));
  startup::RecordWriter resume;
  for (int i = 0; i < 6; ++i) resume.integer(0);
  resume.endRecord().str("Study").str("Attic").endRecord().str("Tower").str("Roof").endRecord();
  game.records("Config/Resume", resume);
  const CheckResult r = doctor::checkGameFolder(game.root());
  QStringList unreached;
  for (const Finding& f : r.findings.all())
    if (f.code == "unreachable-frame") unreached << f.place.file;
  EXPECT_EQ(unreached, (QStringList{"Frames/Roof.fme", "Frames/Tower.fme"})) << describe(r);
  EXPECT_EQ(r.findings.all().size(), 2u) << describe(r);
}

TEST_F(PlantedFaultsTest, AFolderWithoutProjectInformationIsNotAGame) {
  GameFolderBuilder game;
  const CheckResult r = doctor::checkGameFolder(game.root());
  EXPECT_FALSE(r.isGame);
  EXPECT_TRUE(r.notGameReason.contains("Config/General"));
  EXPECT_FALSE(doctor::checkGameFolder(game.root() + "no-such-folder").isGame);
  EXPECT_FALSE(doctor::checkGameFolder(QString()).isGame);
}

class MoreScriptPlacesTest : public ProjectTest {};

TEST_F(MoreScriptPlacesTest, TimedEventCodeWrittenOutIsCompiledAndItsFramesCount) {
  GameFolderBuilder game;
  buildPlantedGame(game, {});
  // Study's hotspot starts a timed event whose code does not compile, and one that goes to the Attic.
  ActionSpec back;
  back.runScript = true;
  back.script = "GoToFrame |Hall|, 1, 0\r\nCreateTimedEvent 2, |If x Then|, False\r\n"
                "CreateTimedEvent 9, |GoToFrame ||Attic||, 1, 0|, False";
  game.file("FramesData/Study.fm3", actionFileBytes({back}));
  game.file("Frames/Attic.fme", frameFileBytes(FrameSpec{}));
  const CheckResult r = doctor::checkGameFolder(game.root());
  ASSERT_EQ(r.findings.all().size(), 1u) << describe(r);
  const Finding& f = r.findings.all()[0];
  EXPECT_EQ(f.code, "script-error");
  EXPECT_EQ(f.place.file, "FramesData/Study.fm3");
  EXPECT_EQ(f.place.field, "script, timed event of script line 2") << f.place.field.toStdString();
}

TEST_F(MoreScriptPlacesTest, ItemCombinationScriptsAreCheckedAndTheirFramesCountAsReached) {
  GameFolderBuilder game;
  buildPlantedGame(game, {});
  game.file("Frames/Attic.fme", frameFileBytes(FrameSpec{}));
  startup::RecordWriter combination;
  combination.integer(1).integer(1).integer(0).str("").integer(0).integer(0).integer(0).boolean(true);
  combination.str("GoToFrame |Attic|, 1, 0\r\nGoToFrame |Roof|, 1, 0");
  game.records("Areas/Key_on_Key.drg", combination);
  const CheckResult r = doctor::checkGameFolder(game.root());
  // The Attic is reached from the combination; the Roof is no frame.
  ASSERT_EQ(r.findings.all().size(), 1u) << describe(r);
  EXPECT_EQ(r.findings.all()[0].code, "unknown-frame");
  EXPECT_EQ(r.findings.all()[0].place.file, "Areas/Key_on_Key.drg");
  EXPECT_TRUE(r.findings.all()[0].message.contains("GoToFrame \"Roof\""));
}

}  // namespace
}  // namespace qm::testing
