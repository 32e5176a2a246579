// A whole game that runs from CD: its frame pictures and frame sounds are on
// "CD 2", a folder the player picks when the game asks for that CD; a frame
// script adds a button named door, and clicking it runs the game's door_click
// procedure, which opens another frame.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QPushButton>

#include "distribution/RunFromCD.h"
#include "distribution/frmRunFromCD.h"
#include "script/AdditionalComponents.h"
#include "script/ScriptGameFixture.h"
#include "startup/MediaFiles.h"
#include "startup/RecordWriter.h"

namespace qm::testing {
namespace {

class RunFromCDGameTest : public ScriptGameFixture {
 protected:
  void SetUp() override {
    ScriptGameFixture::SetUp();
    mounts_.file("mounts", "");
    distribution::runFromCD().drives().setMountTable(mounts_.path("mounts"));
  }
  void TearDown() override {
    ScriptGameFixture::TearDown();
    distribution::runFromCD().drives().setMountTable("/proc/self/mounts");
    distribution::runFromCD().clearIndex();
  }
  GameFolderBuilder mounts_;
};

TEST_F(RunFromCDGameTest, PlaysFromTheFolderGivenForCdTwoAndAScriptedButtonOpensAFrame) {
  GameFolderBuilder folder, cd2;
  GeneralFields g = basicFields();
  g.gameTitle = "Castle";
  basicGame(folder, {}, std::nullopt, g);
  procedures(folder, "Sub door_click(p)\r\n  GoToFrame \"Cellar\", 0, 0\r\nEnd Sub");
  FrameSpec hall;
  hall.backgroundType = 1;
  hall.background = "Hall.bmp";
  hall.backgroundSound = "wind.wav";
  hall.runFrameProcedure = true;
  // "|" stands for a double quote in frame files.
  hall.frameProcedure =
      "If Not DoesComponentExist(|door|) Then\r\n"
      "  AddComponent |Forms.CommandButton.1|, |door|, False, False\r\n"
      "  Component(|door|).Move 1500, 1500, 1500, 600\r\n"
      "  Component(|door|).Caption = |Door|\r\n"
      "  Component(|door|).Visible = True\r\n"
      "End If";
  frame(folder, "Hall", {}, {}, hall);
  frame(folder, "Cellar");
  startup::RecordWriter index;
  index.str("").integer(0).integer(0).integer(2).str("").str("");
  index.str("Hall.bmp").integer(2).integer(1).str("wind.wav").integer(2).integer(2);
  folder.records("Config/CDContents", index).file("RunFromCD.dat", "");
  // The disc keeps its files under their stored names.
  cd2.picture(startup::GetStoredMediaFileName("Data/Castle/Frames/Hall.bmp", false), 40, 30, Qt::darkGreen);
  cd2.file(startup::GetStoredMediaFileName("Data/Castle/Areas/wind.wav", false), "RIFF");

  const QString cdFolder = cd2.root();
  auto* service = &dialogs();
  dialogs().queueWindowAnswer([service, cdFolder](platform::ModalWindow& w) {
    auto& prompt = dynamic_cast<distribution::frmRunFromCD&>(w);
    service->queueFolder(cdFolder);
    prompt.pickLine(prompt.chooseFolderLine());
    prompt.Command3_Click();
  });
  startGame(folder);

  ASSERT_EQ(frameName(), "Hall");
  std::size_t prompts = 0;
  for (const auto& s : dialogs().shown()) {
    if (s.kind == platform::RecordingDialogService::Kind::Window) {
      ++prompts;
      EXPECT_EQ(s.text, "Please insert the CD#2 in the CD-Rom drive and click OK to continue...");
    }
    EXPECT_FALSE(s.text.contains("missing")) << s.text.toStdString();
  }
  EXPECT_EQ(prompts, 1u);  // the sound was found on the same disc without asking again
  EXPECT_FALSE(startup::GameStopped());
  EXPECT_TRUE(QFileInfo(game().PictureBox->picture()).canonicalFilePath().startsWith(QFileInfo(cdFolder).canonicalFilePath()))
      << game().PictureBox->picture().toStdString();

  auto* door = game().components().control("door");
  ASSERT_NE(door, nullptr) << allMessages().toStdString();
  EXPECT_TRUE(door->visible());
  auto* button = door->findChild<QPushButton*>();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), "Door");
  button->click();
  EXPECT_EQ(frameName(), "Cellar") << allMessages().toStdString();
}

TEST_F(RunFromCDGameTest, ThePromptStopsTheTimersAndTheyRunAgainOnceTheFileIsFound) {
  GameFolderBuilder folder, cd1;
  GeneralFields g = basicFields();
  g.gameTitle = "Castle";
  basicGame(folder, {}, std::nullopt, g);
  FrameSpec hall;
  hall.timerOn = true;
  hall.timerSeconds = "30";
  hall.timerTarget = "Hall";
  frame(folder, "Hall", {}, {}, hall);
  startup::RecordWriter index;
  index.str("").integer(0).integer(0).integer(1).str("").str("").str("map.bmp").integer(1).integer(2);
  folder.records("Config/CDContents", index).file("RunFromCD.dat", "");
  cd1.picture(startup::GetStoredMediaFileName("Data/Castle/Areas/map.bmp", false), 8, 8, Qt::red);
  startGame(folder);
  ASSERT_TRUE(game().Timer1.enabled());
  bool timerOffDuringPrompt = false;
  const QString cdFolder = cd1.root();
  auto* service = &dialogs();
  dialogs().queueWindowAnswer([&, service, cdFolder](platform::ModalWindow& w) {
    timerOffDuringPrompt = !game().Timer1.enabled();
    auto& prompt = dynamic_cast<distribution::frmRunFromCD&>(w);
    service->queueFolder(cdFolder);
    prompt.pickLine(prompt.chooseFolderLine());
    prompt.Command3_Click();
  });
  run("Set p = LoadGraphicFile(\"map.bmp\")\r\nIf p.Width > 0 Then Message \"found\"");
  EXPECT_TRUE(timerOffDuringPrompt);
  EXPECT_TRUE(game().Timer1.enabled());
  EXPECT_EQ(game().state().InFrameMessagesShown.value(0), "found") << allMessages().toStdString();
}

}  // namespace
}  // namespace qm::testing
