#include <gtest/gtest.h>

#include "startup/InterfaceTexts.h"
#include "startup/Project.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"

using namespace qm::startup;
using qm::platform::MsgIcon;
using qm::testing::GameFolderBuilder;

namespace {

class InterfaceTextsTest : public qm::testing::ProjectTest {
 protected:
  void loadTexts() {
    setProjectFolder(game_.root());
    LoadInterfaceTexts();
  }
  GameFolderBuilder game_;
};

void expectProgramWording() {
  EXPECT_EQ(InterfaceText(1), "Start");
  EXPECT_EQ(InterfaceText(2), "  Load...");
  EXPECT_EQ(InterfaceText(8), "  Save...");
  EXPECT_EQ(InterfaceText(17), "Load");
  EXPECT_EQ(InterfaceText(30),
            "An error has occurred. The program may not work properly. Press 'Esc' and the click 'Exit' to quit.");
}

}  // namespace

TEST_F(InterfaceTextsTest, ProgramWording) {
  SetDefaultInterfaceTexts(false);
  const char* expected[52] = {
      "",
      "Start",
      "  Load...",
      "Exit",
      "Created By:",
      "E-mail:",
      "Web site:",
      "Change display resolution to",
      "  Save...",
      "Please select something.",
      "Do you really want to quit?",
      "Cancel",
      "Exit",
      "Do you want to open the default mail client to send an e-mail to:",
      "Do you want to visit",
      "(You must be connected to the Internet)",
      "",
      "Load",
      "Select the file you wish to load and click 'LOAD'",
      "LOAD",
      "",
      "Save",
      "Remove Selected",
      "Enter the name of the file you want to save",
      "already exists. Do you want to replace it?",
      "SAVE",
      "Remove Saved File",
      "Do you really want to remove",
      "",
      "Error",
      "An error has occurred. The program may not work properly. Press 'Esc' and the click 'Exit' to quit.",
      "Error description:",
      "Do you want to continue anyway? (not recommended)",
      "The following file is missing:",
      "This file may have been moved or removed from its original location. The program may not work properly "
      "until the missing file is placed back in its original location. Press 'Esc' and the click 'Exit' to quit.",
      "Please do not use any of the following characters:",
      "Please insert the CD in the CD-Rom drive and then click 'OK'.",
      "CD-Rom drive:",
      "The selected device is unavailable. Make sure that the CD-Rom drive letter is right and that the disk is "
      "properly inserted, and then try again.",
      "",
      "Warning! Your system is set to use large fonts. This program will NOT work properly if you don't change "
      "this setting. Do you want to continue anyway? (not recommended)",
      "To fix the problem, go to the 'Control Panel' (from the 'Settings' menu of the Start Menu), double-click "
      "'Display', click the 'Settings' tab, click 'Advanced...', select 'Small Fonts' under 'Font size', click "
      "'OK', and then restart your computer.",
      "",
      "The following folder is missing:",
      "Make sure that the disk is properly inserted, and then try again.",
      "File Not Found:",
      "The file may be missing, or you may have inserted the wrong CD.",
      "Please insert the CD#",
      "in the CD-Rom drive and click OK to continue...",
      "Options",
      "Disable Transitions",
      "Disable Real-Time Effects",
  };
  for (int i = 0; i <= 51; ++i) EXPECT_EQ(InterfaceText(i), QString::fromUtf8(expected[i])) << "text " << i;
  for (int i = 52; i <= 60; ++i) EXPECT_EQ(InterfaceText(i), "") << "text " << i;
}

TEST_F(InterfaceTextsTest, GameWordingDiffersWhereItShould) {
  SetDefaultInterfaceTexts(false);
  QStringList program;
  for (int i = 0; i <= 60; ++i) program << InterfaceText(i);
  SetDefaultInterfaceTexts(true);
  const std::map<int, const char*> game = {
      {1, "Start New Game"},
      {2, "Load Game..."},
      {8, "Save Game..."},
      {17, "Load a previously saved game"},
      {18, "Select the game you wish to load and click 'LOAD'"},
      {21, "Save the current game"},
      {23, "Enter the name of the game you want to save"},
      {26, "Remove Saved Game"},
      {30, "An error has occurred. The game may not work properly. Press 'Esc' and the click 'Exit' to quit."},
      {34, "This file may have been moved or removed from its original location. The game may not work properly "
           "until the missing file is placed back in its original location. Press 'Esc' and the click 'Exit' to "
           "quit."},
      {36, "Please insert the CD in the CD-ROM drive and then click 'OK'."},
      {37, "CD-ROM Drive:"},
      {38, "The selected device is unavailable. Make sure that the CD-ROM drive letter is right and that the disk "
           "is properly inserted, and then try again."},
  };
  for (int i = 0; i <= 60; ++i) {
    const auto it = game.find(i);
    const QString expected = it == game.end() ? program[i] : QString::fromUtf8(it->second);
    EXPECT_EQ(InterfaceText(i), expected) << "text " << i;
  }
}

TEST_F(InterfaceTextsTest, NoTextsFileMeansProgramWording) {
  loadTexts();
  expectProgramWording();
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(InterfaceTextsTest, Modes0And1) {
  game_.texts(1);
  loadTexts();
  EXPECT_EQ(InterfaceText(1), "Start New Game");
  game_.texts(0);
  loadTexts();
  expectProgramWording();
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(InterfaceTextsTest, Mode2OverridesEntriesOneByOne) {
  game_.texts(2, {"Commencer", "Charger", "Quitter"});
  loadTexts();
  EXPECT_EQ(InterfaceText(1), "Commencer");
  EXPECT_EQ(InterfaceText(2), "Charger");
  EXPECT_EQ(InterfaceText(3), "Quitter");
  EXPECT_EQ(InterfaceText(4), "Created By:");
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(InterfaceTextsTest, Mode2CanFillAllSixtyEntries) {
  QStringList texts;
  for (int i = 1; i <= 60; ++i) texts << QString("T%1").arg(i);
  game_.texts(2, texts);
  loadTexts();
  EXPECT_EQ(InterfaceText(60), "T60");
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(InterfaceTextsTest, SixtyOneTextsFailAndRestoreTheProgramWording) {
  QStringList texts;
  for (int i = 1; i <= 61; ++i) texts << QString("T%1").arg(i);
  game_.texts(2, texts);
  loadTexts();
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text, "Unable to load text.");
  EXPECT_EQ(lastBox().title, "Error");
  EXPECT_EQ(lastBox().icon, MsgIcon::Critical);
  expectProgramWording();
  EXPECT_EQ(InterfaceText(55), "");
}

TEST_F(InterfaceTextsTest, ATruncatedTextsFileFails) {
  game_.file("Config/Texts", "2\r\n0,0,0,0,0\r\n5\r\n\"A\"\r\n\"B\"\r\n");
  loadTexts();
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text, "Unable to load text.");
  expectProgramWording();
}

TEST_F(InterfaceTextsTest, UnknownModesSetNothing) {
  game_.texts(3);
  loadTexts();
  for (int i = 1; i <= 60; ++i) EXPECT_EQ(InterfaceText(i), "") << "text " << i;
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(InterfaceTextsTest, GarbageNeverCrashes) {
  for (const QByteArray& bytes :
       {QByteArray(""), QByteArray("\"two\""), QByteArray("2"), QByteArray("2,1,2,3,4,5,1e9"), QByteArray("99999")}) {
    dialogs().clear();
    game_.file("Config/Texts", bytes);
    loadTexts();
    ASSERT_EQ(boxCount(), 1u) << bytes.constData();
    EXPECT_EQ(lastBox().text, "Unable to load text.");
  }
}

TEST_F(InterfaceTextsTest, AnUnreadableModeCountsAsZero) {
  game_.file("Config/Texts", QByteArray("\xff\xfe\x00", 3));
  loadTexts();
  EXPECT_EQ(boxCount(), 0u);
  expectProgramWording();
}

TEST_F(InterfaceTextsTest, IndicesOutOfRangeAreIgnored) {
  InterfaceTexts t;
  t.set(61, "x");
  t.set(-1, "x");
  EXPECT_EQ(t.text(61), "");
  EXPECT_EQ(t.text(-1), "");
}
