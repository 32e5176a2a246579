#include <gtest/gtest.h>

#include <QFile>

#include "platform/SettingsStore.h"
#include "startup/InitializeProject.h"
#include "startup/Project.h"
#include "startup/Settings.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"

using namespace qm::startup;
using qm::platform::MsgButtons;
using qm::platform::MsgIcon;
using qm::platform::MsgResult;
using qm::testing::GameFolderBuilder;

TEST(ProjectPathsTest, FoldersEndInASeparator) {
  const ProjectPaths p = computeProjectPaths("/games/castle");
  EXPECT_EQ(p.project, "/games/castle/");
  EXPECT_EQ(p.frames, "/games/castle/Frames/");
  EXPECT_EQ(p.framesData, "/games/castle/FramesData/");
  EXPECT_EQ(p.areas, "/games/castle/Areas/");
  EXPECT_EQ(p.icons, "/games/castle/Icons/");
  EXPECT_EQ(p.config, "/games/castle/Config/");
  EXPECT_EQ(p.external, "/games/castle/External/");
  EXPECT_EQ(p.plugins, "/games/castle/CPData/");
  EXPECT_EQ(p.schemes, "/games/castle/Schemes/");
  EXPECT_EQ(p.inventory, "/games/castle/Inventory/");
  EXPECT_EQ(p.temp, "/games/castle/Temp/");
  EXPECT_EQ(computeProjectPaths("/games/castle/").project, "/games/castle/");
}

TEST(ProjectPathsTest, ARootFolderGetsNoSecondSeparator) {
  EXPECT_EQ(computeProjectPaths("/").project, "/");
  EXPECT_EQ(computeProjectPaths("/").frames, "/Frames/");
}

TEST(ProjectPathsTest, PathsByNumber) {
  const ProjectPaths p = computeProjectPaths("/g");
  EXPECT_EQ(pathByNumber(p, 0), "/g/");
  EXPECT_EQ(pathByNumber(p, 1), "/g/");
  EXPECT_EQ(pathByNumber(p, 2), "/g/External/");
  EXPECT_EQ(pathByNumber(p, 3), "/g/Config/");
  EXPECT_EQ(pathByNumber(p, 4), "/g/Areas/");
  EXPECT_EQ(pathByNumber(p, 5), "/g/Frames/");
  EXPECT_EQ(pathByNumber(p, 6), "/g/FramesData/");
  EXPECT_EQ(pathByNumber(p, 7), "/g/Icons/");
  EXPECT_EQ(pathByNumber(p, 99), "/g/External/");
  EXPECT_EQ(pathByNumber(p, -1), "/g/External/");
}

namespace {
class InitializeProjectTest : public qm::testing::ProjectTest {
 protected:
  void TearDown() override {
    setStartupHooks({});
    ProjectTest::TearDown();
  }
  GameFolderBuilder game_;
};
}  // namespace

TEST_F(InitializeProjectTest, AGoodProjectStarts) {
  qm::testing::GeneralFields g;
  g.projectName = "Castle";
  game_.general(g).texts(1);
  EXPECT_EQ(InitializeProject(game_.root()), StartupResult::Ready);
  EXPECT_TRUE(project().running);
  EXPECT_EQ(project().paths.project, game_.root());
  EXPECT_EQ(project().info.projectName, "Castle");
  EXPECT_EQ(InterfaceText(1), "Start New Game");
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(InitializeProjectTest, TheStepsOfOtherPartsRunInOrder) {
  game_.general().file("CPData/b.ocx", "").file("CPData/a.ocx", "").file("CPData/readme.txt", "");
  QStringList order;
  StartupHooks hooks;
  hooks.recordDisplaySettings = [&] { order << "display"; };
  hooks.registerComponent = [&](const QString& f) { order << "register " + f.mid(f.lastIndexOf('/') + 1); };
  hooks.displayUsesLargeFonts = [&] {
    order << "fonts";
    return false;
  };
  setStartupHooks(hooks);
  EXPECT_EQ(InitializeProject(game_.root()), StartupResult::Ready);
  ASSERT_EQ(order.size(), 4);
  EXPECT_EQ(order[0], "display");
  QStringList registered = order.mid(1, 2);
  registered.sort();
  EXPECT_EQ(registered, QStringList({"register a.ocx", "register b.ocx"}));
  EXPECT_EQ(order[3], "fonts");
}

TEST_F(InitializeProjectTest, AFailingStepIsSkipped) {
  game_.general().file("CPData/a.ocx", "");
  StartupHooks hooks;
  hooks.registerComponent = [](const QString&) { throw std::runtime_error("cannot register"); };
  hooks.recordDisplaySettings = [] { throw std::runtime_error("no display"); };
  setStartupHooks(hooks);
  EXPECT_EQ(InitializeProject(game_.root()), StartupResult::Ready);
  EXPECT_EQ(project().info.projectName, "TestGame");
}

TEST_F(InitializeProjectTest, AMissingProjectInformationFileEndsTheProgram) {
  EXPECT_EQ(InitializeProject(game_.root()), StartupResult::EndProgram);
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text, "The following file is missing: " + game_.root() + "Config/General");
  EXPECT_EQ(lastBox().title, "Error");
  EXPECT_EQ(lastBox().icon, MsgIcon::Warning);
}

TEST_F(InitializeProjectTest, LargeFontsAreAskedAbout) {
  game_.general();
  StartupHooks hooks;
  hooks.displayUsesLargeFonts = [] { return true; };
  setStartupHooks(hooks);
  EXPECT_EQ(InitializeProject(game_.root()), StartupResult::EndProgram);  // No is the default
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().title, "!!!");
  EXPECT_EQ(lastBox().buttons, MsgButtons::YesNo);
  EXPECT_EQ(lastBox().icon, MsgIcon::Warning);
  EXPECT_EQ(lastBox().defaultButton, 1);
  EXPECT_EQ(lastBox().text,
            "Warning! Your system is set to use large fonts. This program will NOT work properly if you don't change "
            "this setting. Do you want to continue anyway? (not recommended)\r\n\r\nTo fix the problem, go to the "
            "'Control Panel' (from the 'Settings' menu of the Start Menu), double-click 'Display', click the "
            "'Settings' tab, click 'Advanced...', select 'Small Fonts' under 'Font size', click 'OK', and then "
            "restart your computer.");
  dialogs().queueAnswer(MsgResult::Yes);
  EXPECT_EQ(InitializeProject(game_.root()), StartupResult::Ready);
}

TEST_F(InitializeProjectTest, ATextsFileWithAnUnknownModeLeavesTextsEmpty) {
  game_.general().texts(3);
  EXPECT_EQ(InitializeProject(game_.root()), StartupResult::Ready);
  EXPECT_EQ(InterfaceText(2), "");
  // The missing-file message then has an empty title and first line.
  game_.remove("Config/General");
  resetProjectForTests();
  EXPECT_EQ(InitializeProject(game_.root()), StartupResult::EndProgram);
  EXPECT_EQ(lastBox().text, " " + game_.root() + "Config/General");
}

namespace {
class SettingsTest : public qm::testing::ProjectTest {
 protected:
  GameFolderBuilder game_;
};
}  // namespace

TEST_F(SettingsTest, SettingsAreKeptUnderTheProjectName) {
  project().info.projectName = "Castle";
  EXPECT_EQ(LoadSetting(settings_keys::kChangeResolution, "1"), "1");
  SaveSetting(settings_keys::kChangeResolution, "0");
  EXPECT_EQ(LoadSetting("changeresolution", "1"), "0");
  project().info.projectName = "Other";
  EXPECT_EQ(LoadSetting(settings_keys::kChangeResolution, "1"), "1");
}

TEST_F(SettingsTest, ABrokenProjectInformationFileWritesNoSettings) {
  // The name is read, then the file ends where numbers should follow.
  game_.file("Config/General", "\"Garbage\x01Title\"\r\n");
  EXPECT_EQ(InitializeProject(game_.root()), StartupResult::Ready);
  EXPECT_TRUE(project().informationBroken);
  ASSERT_GE(boxCount(), 1u);
  EXPECT_TRUE(lastBox().text.contains("Error loading project information."));
  const QString file = qm::platform::SettingsStore::instance().file();
  SaveSetting(settings_keys::kPath, game_.root());
  SaveSetting(settings_keys::kChangeResolution, "0");
  EXPECT_FALSE(QFile::exists(file) && QFile(file).size() > 0);
  EXPECT_EQ(LoadSetting(settings_keys::kChangeResolution, "1"), "1");

  // A good file afterwards: settings are written again.
  game_.general();
  resetProjectForTests();
  EXPECT_EQ(InitializeProject(game_.root()), StartupResult::Ready);
  EXPECT_FALSE(project().informationBroken);
  SaveSetting(settings_keys::kChangeResolution, "0");
  EXPECT_EQ(LoadSetting(settings_keys::kChangeResolution, "1"), "0");
}

TEST_F(SettingsTest, BooleanSettings) {
  EXPECT_FALSE(LoadSettingBool(settings_keys::kDisableTransitions));
  for (const auto& [text, value] : std::vector<std::pair<QString, bool>>{
           {"True", true}, {"false", false}, {"1", true}, {"0", false}, {"-1", true}}) {
    SaveSetting(settings_keys::kDisableEffects, text);
    EXPECT_EQ(LoadSettingBool(settings_keys::kDisableEffects), value) << text.toStdString();
  }
  SaveSetting(settings_keys::kDisableEffects, "maybe");
  EXPECT_FALSE(LoadSettingBool(settings_keys::kDisableEffects));
  EXPECT_TRUE(LoadSettingBool(settings_keys::kDisableEffects, true));
}

TEST_F(SettingsTest, TheEditorsIniFile) {
  setProjectFolder(game_.root());
  EXPECT_EQ(ScriptTimeOutSetting(), 0);
  EXPECT_FALSE(AllowCreateObjectSetting());
  EXPECT_EQ(ProcEncrSetting(), 0);
  game_.moreIni("General", "ScriptTimeOut", "30").moreIni("general", "allowcreateobject", "1")
      .moreIni("General", "ProcEncr", "2");
  EXPECT_EQ(ScriptTimeOutSetting(), 30);
  EXPECT_TRUE(AllowCreateObjectSetting());
  EXPECT_EQ(ProcEncrSetting(), 2);
  game_.moreIni("General", "AllowCreateObject", "yes").moreIni("General", "ScriptTimeOut", "x");
  EXPECT_FALSE(AllowCreateObjectSetting());
  EXPECT_EQ(ScriptTimeOutSetting(), 0);
}

TEST(VbVal, LeadingNumbers) {
  EXPECT_EQ(vbVal("12abc"), 12);
  EXPECT_EQ(vbVal(" 1 2 3"), 123);
  EXPECT_EQ(vbVal("-3.5e2x"), -350);
  EXPECT_EQ(vbVal("&H1F"), 31);
  EXPECT_EQ(vbVal("abc"), 0);
  EXPECT_EQ(vbVal(""), 0);
  EXPECT_EQ(vbVal("1e999"), 0);
}
