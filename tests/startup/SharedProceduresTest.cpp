#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include "platform/Shell.h"
#include "startup/Activity.h"
#include "startup/ExternalProgram.h"
#include "startup/Messages.h"
#include "startup/Project.h"
#include "startup/Screen.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"

using namespace qm::startup;
using qm::platform::MsgButtons;
using qm::platform::MsgIcon;
using qm::platform::MsgResult;
using qm::testing::GameFolderBuilder;

namespace {
class SharedProceduresTest : public qm::testing::ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    SetDefaultInterfaceTexts(false);
    setProjectFolder(game_.root());
    project().info.gameTitle = "The Castle";
  }
  void TearDown() override {
    setInFrameMessageHooks({});
    setStopAllActivityHooks({});
    setStopGameHooks({});
    setScreenSizeProvider({});
    ProjectTest::TearDown();
  }
  GameFolderBuilder game_;
};
}  // namespace

TEST_F(SharedProceduresTest, RunAndWaitRunsTheProgramOnceThePlayerAllowedIt) {
  game_.file("External/tool.sh", "#!/bin/sh\necho done > \"$(dirname \"$0\")/out.txt\"\n");
  QFile::setPermissions(game_.path("External/tool.sh"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  dialogs().queueAnswer(MsgResult::Yes);
  EXPECT_TRUE(RunAndWait(project().paths.external + "TOOL.SH", true));
  EXPECT_TRUE(QFile::exists(game_.path("External/out.txt")));
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text, "This game wants to run " + game_.path("External/tool.sh") + ". Allow?");
  EXPECT_EQ(lastBox().title, "The Castle");
  EXPECT_EQ(lastBox().icon, MsgIcon::Question);
}

TEST_F(SharedProceduresTest, RunAndWaitTakesTheWholeTextAsTheProgramName) {
  game_.file("External/tool.sh", "#!/bin/sh\necho \"$1\" > \"$(dirname \"$0\")/$2\"\n");
  QFile::setPermissions(game_.path("External/tool.sh"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  dialogs().queueAnswer(MsgResult::Yes);
  EXPECT_FALSE(RunAndWait(project().paths.external + "tool.sh hello arg.txt", true));
  EXPECT_FALSE(QFile::exists(game_.path("External/arg.txt")));
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_TRUE(lastBox().text.endsWith("'.\r\n\r\nFile not found"));
}

TEST_F(SharedProceduresTest, RunAndWaitFailures) {
  const QString missing = project().paths.external + "missing.exe";
  EXPECT_FALSE(RunAndWait(missing, true));
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text,
            "An error has occurred. The program may not work properly. Press 'Esc' and the click 'Exit' to quit."
            "\r\n\r\nError description: Error opening the file titled '" + missing + "'.\r\n\r\nFile not found");
  EXPECT_EQ(lastBox().icon, MsgIcon::Critical);
  EXPECT_FALSE(RunAndWait(missing, false));
  ASSERT_EQ(boxCount(), 2u);
  EXPECT_EQ(lastBox().text, "Error launching external application. Probably file not found (" + missing + ").");
  EXPECT_EQ(lastBox().title, "Error");
  EXPECT_EQ(lastBox().icon, MsgIcon::Information);
}

TEST_F(SharedProceduresTest, MessagesOutsideTheFrameAreBoxes) {
  ShowMessage("Hello there", false);
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text, "Hello there");
  EXPECT_EQ(lastBox().title, "The Castle");
  EXPECT_EQ(lastBox().icon, MsgIcon::Information);
  EXPECT_EQ(lastBox().buttons, MsgButtons::OK);
}

TEST_F(SharedProceduresTest, MessagesInTheFrameGoToThePanel) {
  QStringList shown;
  int hides = 0;
  bool lastNoAutoHide = false;
  setInFrameMessageHooks({[&](const QString& t, bool noAutoHide) {
                            shown << t;
                            lastNoAutoHide = noAutoHide;
                          },
                          [&] { ++hides; }});
  ShowMessage("You see a door.", true, false);
  ShowMessage("Stays.", true, true);
  EXPECT_TRUE(lastNoAutoHide);
  ShowMessage("[HIDE]", true);
  EXPECT_EQ(shown, QStringList({"You see a door.", "Stays."}));
  EXPECT_EQ(hides, 1);
  EXPECT_EQ(boxCount(), 0u);
  EXPECT_EQ(InFrameMessageHideIntervalMs("You see a door."), 15 * 70 + 1000);
}

TEST_F(SharedProceduresTest, StopAllActivityRunsTheWindowsParts) {
  QStringList order;
  setStopAllActivityHooks({[&] { order << "signal"; }, [&] { order << "stop"; }});
  StopAllActivity();
  EXPECT_EQ(order, QStringList({"signal", "stop"}));
  EXPECT_FALSE(GameStopped());
}

TEST_F(SharedProceduresTest, StopGameStopsEverything) {
  QStringList order;
  setStopAllActivityHook([&] { order << (GameStopped() ? "stop(stopped)" : "stop"); });
  setStopGameHooks({[&] { order << "hide"; }, [&] { order << "menus"; }});
  StopGame();
  EXPECT_TRUE(GameStopped());
  EXPECT_EQ(order, QStringList({"hide", "stop(stopped)", "menus"}));
}

TEST_F(SharedProceduresTest, StoppingWithoutAGameWindowIsHarmless) {
  StopAllActivity();
  StopGame();
  EXPECT_TRUE(GameStopped());
}

TEST_F(SharedProceduresTest, ScreenSizeInTwips) {
  setScreenSizeProvider([] { return QSize(800, 600); });
  EXPECT_EQ(ScreenWidthTwips(), 12000);
  EXPECT_EQ(ScreenHeightTwips(), 9000);
  EXPECT_EQ(ClampToZero(-3), 0);
  EXPECT_EQ(ClampToZero(4.5), 4.5);
}

TEST_F(SharedProceduresTest, BusyForms) {
  QWidget w;
  BeginBusy(&w);
  EXPECT_FALSE(w.isEnabled());
  EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
  EndBusy(&w);
  EXPECT_TRUE(w.isEnabled());
  EXPECT_EQ(w.property("MousePointer").toInt(), 0);
}

TEST_F(SharedProceduresTest, TheProductWebSitePrompt) {
  QStringList opened;
  qm::platform::setShellOpenHookForTests([&](const QString& t) {
    opened << t;
    return true;
  });
  EXPECT_TRUE(ShowProductWebSitePrompt());
  EXPECT_EQ(lastBox().buttons, MsgButtons::OKCancel);
  EXPECT_TRUE(lastBox().text.contains("To visit it now you must be connected to the Internet.\r\nClick OK to continue..."));
  dialogs().queueAnswer(MsgResult::Cancel);
  EXPECT_FALSE(ShowProductWebSitePrompt());
  EXPECT_EQ(opened.size(), 1);
}
