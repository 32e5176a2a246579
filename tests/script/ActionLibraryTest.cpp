// The action library as scripts reach it: requests recorded for the caller,
// constants, settings, INI files, directory search and the members that name
// a capability this player does not have.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "script/VBScriptActionModule.h"
#include "startup/DisplayResolution.h"
#include "startup/InitializeProject.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"
#include "vbscript/Engine.h"

namespace qm::testing {
namespace {

using script::toQ;
using script::toU16;

class ActionLibraryTest : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    folder_.general({});
    startup::InitializeProject(folder_.root());
    action_ = script::makeHostObject<script::VBScriptActionModule>(nullptr);
    engine_.addObject(u"Action", action_.get(), true);
  }
  // Runs statements in the engine, with the action members callable by name.
  void exec(const QString& code) { engine_.addCode(toU16(code)); }
  QString eval(const QString& expr) { return toQ(vbs::toString(engine_.eval(toU16(expr)))); }
  engine::VBScriptActionModule& req() { return action_->requests(); }

  GameFolderBuilder folder_;
  vbs::Ref<script::VBScriptActionModule> action_;
  vbs::Engine engine_;
};

TEST_F(ActionLibraryTest, GoToFrameRecordsTheRequestAndTheSecondCallWins) {
  req().iHotspotNumber = 4;
  exec("GoToFrame \"Cellar\", 1.5, 3\r\nAction.GoToFrame \"Attic\", 2, 4");
  EXPECT_EQ(req().sFrameToLoad, "Attic");
  EXPECT_EQ(req().dTransitionDuration, 2.0);
  EXPECT_EQ(req().iTransitionNumber, 4);
  EXPECT_EQ(req().iHotspotNumber, 0);
}

TEST_F(ActionLibraryTest, ResetModuleClearsRequestsButKeepsTheHotspotNumber) {
  exec("GoToFrame \"Cellar\", 1, 3\r\nQuit\r\nPopupLoadGame\r\nPopupSaveGame\r\nAction.iHotspotNumber = 7");
  EXPECT_TRUE(req().bStopGame);
  EXPECT_TRUE(req().bPopupLoadGame);
  EXPECT_TRUE(req().bPopupSaveGame);
  exec("ResetModule");
  EXPECT_EQ(req().sFrameToLoad, "");
  EXPECT_EQ(req().dTransitionDuration, 0.0);
  EXPECT_EQ(req().iTransitionNumber, 1);
  EXPECT_FALSE(req().bStopGame);
  EXPECT_FALSE(req().bPopupLoadGame);
  EXPECT_FALSE(req().bPopupSaveGame);
  EXPECT_EQ(eval("GetHotspotNumber"), "7");
}

TEST_F(ActionLibraryTest, RequestFieldsAreScriptProperties) {
  exec("Action.sFrameToLoad = \"Roof\"\r\nAction.bStopGame = True");
  EXPECT_EQ(req().sFrameToLoad, "Roof");
  EXPECT_EQ(eval("Action.bStopGame"), "True");
}

TEST_F(ActionLibraryTest, ConstantsAndTextHelpers) {
  EXPECT_EQ(eval("NO_FILE_SELECTED = \"\""), "True");
  EXPECT_EQ(eval("DOUBLEQUOTES"), "\"");
  EXPECT_EQ(eval("NEWLINE"), "\r\n");
  EXPECT_EQ(eval("GetQMVersion"), "Version 3.5.2");
  EXPECT_EQ(eval("ConvertQuotesIntoDoubleQuotes(\"a\"\"b\")"), "a\"\"b");
  EXPECT_EQ(eval("ConvertToNumber(\"  12.5kg\")"), "12.5");
  EXPECT_EQ(eval("ConvertToNumber(\"kg\")"), "0");
  EXPECT_EQ(eval("ConvertToNumber(\"\")"), "0");
}

TEST_F(ActionLibraryTest, GetPathNamesTheProjectFolders) {
  const auto& p = startup::project().paths;
  EXPECT_EQ(eval("GetPath(0)"), p.project);
  EXPECT_EQ(eval("GetPath(1)"), p.project);
  EXPECT_EQ(eval("GetPath(3)"), p.config);
  EXPECT_EQ(eval("GetPath(5)"), p.frames);
  EXPECT_EQ(eval("GetPath(2)"), p.external);
  EXPECT_EQ(eval("GetPath(99)"), p.external);
}

TEST_F(ActionLibraryTest, IniFilesFollowTheExternalRule) {
  folder_.folder("External");
  exec("WriteINI \"game.ini\", \"Scores\", \"Best\", 42");
  EXPECT_TRUE(QFile::exists(folder_.path("External/game.ini")));
  EXPECT_EQ(eval("ReadINI(\"game.ini\", \"Scores\", \"Best\")"), "42");
  EXPECT_EQ(eval("ReadINI(\"missing.ini\", \"Scores\", \"Best\")"), "");
  EXPECT_EQ(eval("ReadINI(\"game.ini\", \"\", \"Best\")"), "");
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(ActionLibraryTest, IniFilesNamedWithAGamePathAreUsedAsTheyAre) {
  exec("WriteINI GetPath(3) & \"mine.ini\", \"S\", \"K\", \"v\"");
  EXPECT_TRUE(QFile::exists(folder_.path("Config/mine.ini")));
  EXPECT_EQ(eval("ReadINI(GetPath(3) & \"mine.ini\", \"S\", \"K\")"), "v");
}

// The game ran with its own folder as the current folder: names with a folder
// part but no root are found there, wherever the player was started from.
TEST_F(ActionLibraryTest, RelativeFileNamesLieInTheGameFolderWhateverTheCurrentFolder) {
  folder_.folder("External").folder("Areas");
  QImage dot(2, 2, QImage::Format_RGB32);
  dot.fill(Qt::red);
  ASSERT_TRUE(dot.save(folder_.path("Areas/dot.bmp"), "BMP"));
  const QString stored = startup::GetStoredMediaFileName("Areas\\tune.wav", false);
  folder_.file(stored, "RIFF");
  // Started from another folder that has an External folder of its own.
  QTemporaryDir elsewhere;
  ASSERT_TRUE(elsewhere.isValid());
  ASSERT_TRUE(QDir(elsewhere.path()).mkdir("External"));
  struct BackWhereStarted {
    QString folder = QDir::currentPath();
    ~BackWhereStarted() { QDir::setCurrent(folder); }
  } backWhereStarted;
  ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
  exec("WriteINI \"External\\rel.ini\", \"S\", \"K\", \"v\"");
  const QString read = eval("ReadINI(\"External\\rel.ini\", \"S\", \"K\")");
  const QString found = eval("DDir(\"External\\*.ini\", 0)");
  const QString coded = eval("GetEncryptedFileName(\"Areas\\tune.wav\")");
  exec("SaveAPicture LoadGraphicFile(\"dot.bmp\"), \"External\\shot.bmp\"");
  QDir::setCurrent(backWhereStarted.folder);
  EXPECT_TRUE(QFile::exists(folder_.path("External/rel.ini")));
  EXPECT_FALSE(QFile::exists(elsewhere.path() + "/External/rel.ini"));
  EXPECT_EQ(read, "v");
  EXPECT_EQ(found, "rel.ini");
  EXPECT_EQ(coded, stored);
  EXPECT_TRUE(QFile::exists(folder_.path("External/shot.bmp")));
  EXPECT_FALSE(QFile::exists(elsewhere.path() + "/External/shot.bmp"));
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(ActionLibraryTest, ParametersAreStoredAsTextUnderAnUnderscoreName) {
  exec("SaveParameter \"Score\", 12");
  EXPECT_EQ(eval("TypeName(LoadParameter(\"Score\", 0))"), "String");
  EXPECT_EQ(eval("LoadParameter(\"Score\", 0)"), "12");
  EXPECT_EQ(eval("LoadParameter(\"Never\", 3.5)"), "3.5");
}

TEST_F(ActionLibraryTest, DDirWalksTheMatchesOfThePreviousSearch) {
  folder_.file("External/a.txt", "1").file("External/b.txt", "2").file("External/c.dat", "3");
  const QString ext = startup::project().paths.external;
  EXPECT_EQ(eval("DDir(\"" + ext + "*.txt\", 0)"), "a.txt");
  EXPECT_EQ(eval("DDir(\"\", 0)"), "b.txt");
  EXPECT_EQ(eval("DDir(\"\", 0)"), "");
}

TEST_F(ActionLibraryTest, CreateObjectMemberShowsItsMessageAndCreatesNothing) {
  exec("Set o = Action.CreateObject(\"Scripting.Dictionary\")\r\nr = (o Is Nothing)");
  EXPECT_EQ(eval("r"), "True");
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().title, "Unavailable Function");
  EXPECT_EQ(lastBox().text,
            "For security reasons, the \"CreateObject\" function is disabled in this version of VBScript.");
}

TEST_F(ActionLibraryTest, DisplayResolutionSwitchesTheVirtualMode) {
  startup::resetDisplaySettingsForTests();
  startup::setRealScreenSizeForTests(QSize(1920, 1080));
  startup::RecordDisplaySettings();
  EXPECT_EQ(eval("GetDisplayResolutionX"), "1920");
  exec("ChangeDisplayResolution 2");
  EXPECT_EQ(eval("GetDisplayResolutionX"), "800");
  EXPECT_EQ(eval("GetDisplayResolutionY"), "600");
  exec("ChangeDisplayResolutionOnLoadGame 3");
  EXPECT_EQ(action_->resolutionOnLoadGame(), 3);
  startup::resetDisplaySettingsForTests();
  startup::setRealScreenSizeForTests(std::nullopt);
}

TEST_F(ActionLibraryTest, WrongArgumentCountsAreScriptErrors) {
  EXPECT_THROW(exec("GoToFrame \"x\""), vbs::ScriptError);
}

TEST_F(ActionLibraryTest, HasEveryMemberOfTheInterface) {
  const char16_t* names[] = {
      u"PopupSaveGame", u"PopupLoadGame", u"GoToFrame", u"ResetModule", u"StopEverything", u"Message", u"AddItem",
      u"SendEmail", u"OpenURL", u"OpenFile", u"OpenExeFileAndWait", u"LoadAPicture", u"LoadGraphicFile",
      u"GetHotspotNumber", u"GetPath", u"HideInventoryButton", u"ShowInventoryButton", u"GetClickPositionX",
      u"GetClickPositionY", u"GetTransitionsStatus", u"GetEffectsStatus", u"InvertTransitionsStatus",
      u"InvertEffectsStatus", u"RemoveAllItems", u"RemoveItem", u"CreateObject", u"LoadControl", u"UnloadControl",
      u"GetQMVersion", u"ChangeDisplayResolution", u"ChangeDisplayResolutionOnLoadGame", u"GetDisplayResolutionX",
      u"GetDisplayResolutionY", u"GetProjectWidth", u"GetProjectHeight", u"AllowControlsReferencesNextTime",
      u"DoNotAllowControlsReferencesNextTime", u"GetCurrentFrameName", u"GetMergedHotspotIndex",
      u"GetMergedTextIndex", u"Quit", u"CreateTimedEvent", u"RemoveTimedEvent", u"SaveParameter", u"LoadParameter",
      u"ChangeDefaultCursor", u"ReadINI", u"WriteINI", u"DDir", u"AddComponent", u"RemoveComponent", u"Component",
      u"DoesComponentExist", u"InterceptComponentEvents", u"IsComponentInstalled", u"NO_FILE_SELECTED",
      u"GetVariableReferenceFromName", u"DOUBLEQUOTES", u"NEWLINE", u"ConvertQuotesIntoDoubleQuotes",
      u"ConvertToNumber", u"GetEncryptedFileName", u"RefreshWindow", u"QuitDialogue", u"UpdateHotspotsState",
      u"DoComponentsEvents", u"CaptureFrame", u"SaveAPicture"};
  EXPECT_EQ(std::size(names), 68u);
  for (const char16_t* n : names) EXPECT_NE(action_->findMember(n), vbs::DispIdUnknown) << toQ(n).toStdString();
}

}  // namespace
}  // namespace qm::testing
