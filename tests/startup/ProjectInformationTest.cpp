#include <gtest/gtest.h>

#include "startup/InitializeProject.h"
#include "startup/Project.h"
#include "startup/ProjectInformationFile.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"

using namespace qm::startup;
using qm::platform::MsgIcon;
using qm::testing::GameFolderBuilder;
using qm::testing::GeneralFields;

namespace {

class ProjectInformationTest : public qm::testing::ProjectTest {
 protected:
  void load(const GeneralFields& fields) {
    game_.general(fields);
    setProjectFolder(game_.root());
    SetDefaultInterfaceTexts(false);
    LoadProjectInformation();
  }
  void loadBytes(const QByteArray& bytes) {
    game_.file("Config/General", bytes);
    setProjectFolder(game_.root());
    SetDefaultInterfaceTexts(false);
    LoadProjectInformation();
  }
  const ProjectInformation& info() { return project().info; }
  GameFolderBuilder game_;
};

const QString kLoadError = QStringLiteral(
    "An error has occurred. The program may not work properly. Press 'Esc' and the click 'Exit' to quit.\r\n\r\n"
    "Error description: Error loading project information.");

}  // namespace

TEST_F(ProjectInformationTest, EveryFieldIsReadInOrder) {
  GeneralFields g;
  g.projectName = "Castle";
  g.gameTitle = "The Castle";
  g.initialFrame = "Gate";
  g.versionText = "v2";
  g.width = 800;
  g.height = 600;
  g.authorName = "Ann";
  g.authorEmail = "ann@example.org";
  g.authorWebSite = "example.org";
  g.resolutionOffer = 1;
  g.schemeName = "Dark";
  g.noLoading = true;
  g.noSaving = true;
  g.field23 = "'";
  g.inventoryValueA = 3;
  g.inventoryValueB = 4;
  g.inventoryBarOn = false;
  g.inventorySwitch2 = false;
  g.inventorySwitch6 = true;
  g.inventoryPicture1 = "inv1.bmp";
  g.inventoryPicture2 = "inv2.bmp";
  g.projectResolution = 2;
  g.defaultMousePointer = "hand.cur";
  g.windowedMode = true;
  g.startAtOnce = true;
  g.hideLogo = true;
  g.noDisableTransitionsItem = true;
  g.noDisableEffectsItem = true;
  g.noMenuBar = true;
  g.runStartupProcedure = true;
  g.startupProcedureName = "Start|Me|";
  g.runFrameProcedure = true;
  g.frameProcedureName = "OnFrame";
  load(g);
  EXPECT_EQ(boxCount(), 0u);
  EXPECT_EQ(info().projectName, "Castle");
  EXPECT_EQ(info().gameTitle, "The Castle");
  EXPECT_EQ(info().initialFrame, "Gate");
  EXPECT_EQ(info().versionText, "v2");
  EXPECT_EQ(info().width, 800);
  EXPECT_EQ(info().height, 600);
  EXPECT_EQ(info().authorName, "Ann");
  EXPECT_EQ(info().authorEmail, "ann@example.org");
  EXPECT_EQ(info().authorWebSite, "example.org");
  EXPECT_EQ(info().resolutionOffer, 1);
  EXPECT_EQ(info().schemeName, "Dark");
  EXPECT_TRUE(info().noLoading);
  EXPECT_TRUE(info().noSaving);
  EXPECT_TRUE(info().field23IsApostrophe);
  EXPECT_EQ(info().inventoryValueA, 3);
  EXPECT_EQ(info().inventoryValueB, 4);
  EXPECT_FALSE(info().inventoryBarOn);
  EXPECT_FALSE(info().inventorySwitches[2]);
  EXPECT_TRUE(info().inventorySwitches[3]);
  EXPECT_TRUE(info().inventorySwitches[6]);
  EXPECT_EQ(info().inventoryPicture1, "inv1.bmp");
  EXPECT_EQ(info().inventoryPicture2, "inv2.bmp");
  EXPECT_EQ(info().projectResolution, 2);
  EXPECT_EQ(info().defaultMousePointer, "hand.cur");
  EXPECT_TRUE(info().windowedMode);
  EXPECT_TRUE(info().startAtOnce);
  EXPECT_TRUE(info().hideLogo);
  EXPECT_TRUE(info().noDisableTransitionsItem);
  EXPECT_TRUE(info().noDisableEffectsItem);
  EXPECT_TRUE(info().noMenuBar);
  EXPECT_TRUE(info().runStartupProcedure);
  EXPECT_EQ(info().startupProcedureName, "Start\"Me\"");
  EXPECT_TRUE(info().runFrameProcedure);
  EXPECT_EQ(info().frameProcedureName, "OnFrame");
}

TEST_F(ProjectInformationTest, AFileEndingAfterField11KeepsLaterDefaults) {
  GeneralFields g;
  g.lastField = 11;
  g.noLoading = true;
  g.startAtOnce = true;
  load(g);
  EXPECT_EQ(boxCount(), 0u);
  EXPECT_EQ(info().projectName, "TestGame");
  EXPECT_EQ(info().authorWebSite, "");
  EXPECT_EQ(info().resolutionOffer, 0);
  EXPECT_EQ(info().schemeName, "");
  EXPECT_FALSE(info().noLoading);
  EXPECT_FALSE(info().startAtOnce);
  EXPECT_EQ(info().inventoryValueA, 10);
  EXPECT_TRUE(info().inventoryBarOn);
  EXPECT_TRUE(info().inventorySwitches[5]);
  EXPECT_FALSE(info().inventorySwitches[6]);
  EXPECT_EQ(info().inventoryPicture1, "DEFAULT");
  EXPECT_EQ(info().defaultMousePointer, "DEFAULT");
}

TEST_F(ProjectInformationTest, EachOptionalGroupEndsCleanly) {
  // Cutting the file at every end-of-file test reads without any message.
  for (int last : {12, 16, 22, 38, 41, 44, 46, 47, 48, 55}) {
    resetProjectForTests();
    dialogs().clear();
    GeneralFields g;
    g.lastField = last;
    g.resolutionOffer = 1;
    g.noMenuBar = true;
    load(g);
    EXPECT_EQ(boxCount(), 0u) << "cut after field " << last;
    EXPECT_EQ(info().resolutionOffer, 1);
    EXPECT_EQ(info().noMenuBar, last >= 48) << "cut after field " << last;
  }
}

TEST_F(ProjectInformationTest, ACutInsideAGroupIsAnError) {
  GeneralFields g;
  g.lastField = 30;  // inside the group 23-38
  g.noLoading = true;
  load(g);
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text, kLoadError);
  EXPECT_EQ(lastBox().title, "Error");
  EXPECT_EQ(lastBox().icon, MsgIcon::Critical);
  // Fields read before the failure keep their values.
  EXPECT_TRUE(info().noLoading);
  EXPECT_EQ(info().defaultMousePointer, "DEFAULT");
}

TEST_F(ProjectInformationTest, TheResolutionOfferIsOneWhenItsFieldCannotBeRead) {
  loadBytes("\"P\",\"\",\"T\",0,\"F\",\"1\",640,480,\"\",\"\",\"\",\"bad\"\r\n");
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text, kLoadError);
  EXPECT_EQ(info().resolutionOffer, 1);
}

TEST_F(ProjectInformationTest, GarbageFilesGiveTheMessageAndNeverCrash) {
  for (const QByteArray& bytes : {QByteArray(""), QByteArray("\"only a name\""), QByteArray("\x00\x01\xFF", 3),
                                  QByteArray("\"P\",,,,,,99999999,\r\n"), QByteArray("\"unterminated")}) {
    dialogs().clear();
    loadBytes(bytes);
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(lastBox().text, kLoadError);
  }
}

TEST_F(ProjectInformationTest, DefaultsWhenNothingIsRead) {
  project().info.gameTitle = "stale";
  SetDefaultProjectInformation();
  EXPECT_EQ(info().projectName, "None");
  EXPECT_EQ(info().gameTitle, "");
  EXPECT_EQ(info().logoSelector1, 0);
  EXPECT_FALSE(info().logoSelector2);
}
