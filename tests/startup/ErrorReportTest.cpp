#include <gtest/gtest.h>

#include "platform/VbError.h"
#include "startup/ErrorReport.h"
#include "startup/PlayMediaControl.h"
#include "startup/Project.h"
#include "support/ProjectTest.h"

using namespace qm::startup;
using qm::platform::MsgIcon;

namespace {
class ErrorReportTest : public qm::testing::ProjectTest {};
}  // namespace

TEST_F(ErrorReportTest, TheStandardReportText) {
  SetDefaultInterfaceTexts(false);
  ShowStandardErrorReport(" Unable to do it.");
  ShowStandardErrorReport(" Unable to do it.", "Overflow");
  ASSERT_EQ(boxCount(), 2u);
  EXPECT_EQ(dialogs().shown()[0].text,
            "An error has occurred. The program may not work properly. Press 'Esc' and the click 'Exit' to quit."
            "\r\n\r\nError description: Unable to do it.");
  EXPECT_EQ(dialogs().shown()[1].text,
            "An error has occurred. The program may not work properly. Press 'Esc' and the click 'Exit' to quit."
            "\r\n\r\nError description: Unable to do it.\r\n\r\nOverflow");
  EXPECT_EQ(lastBox().title, "Error");
  EXPECT_EQ(lastBox().icon, MsgIcon::Critical);
}

TEST_F(ErrorReportTest, UsesTheGameWordingAndCustomTexts) {
  SetDefaultInterfaceTexts(true);
  project().texts.set(29, "Oops");
  ShowStandardErrorReport(" X.");
  EXPECT_EQ(lastBox().title, "Oops");
  EXPECT_TRUE(lastBox().text.startsWith("An error has occurred. The game may not work properly."));
}

TEST_F(ErrorReportTest, NothingIsShownWhileTheGameStops) {
  SetDefaultInterfaceTexts(false);
  SetGameStopped(true);
  ShowStandardErrorReport(" X.");
  ShowPlayMediaControlError("Bad file");
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(ErrorReportTest, PlayingAMediaControlFailed) {
  SetDefaultInterfaceTexts(false);
  ShowPlayMediaControlError("Bad file");
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text,
            "An error has occurred. The program may not work properly. Press 'Esc' and the click 'Exit' to quit. "
            "Error description:\r\n\r\nUnable to play video file. Bad file");
  EXPECT_EQ(lastBox().icon, MsgIcon::Critical);
}

TEST_F(ErrorReportTest, PlayMediaControlReportsAFailedPlay) {
  SetDefaultInterfaceTexts(false);
  bool played = false;
  EXPECT_TRUE(PlayMediaControl([&] { played = true; }));
  EXPECT_TRUE(played);
  EXPECT_EQ(boxCount(), 0u);
  EXPECT_FALSE(PlayMediaControl([] { throw qm::VbError::fileNotFound("x.avi"); }));
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_TRUE(lastBox().text.endsWith("\r\n\r\nUnable to play video file. File not found"));
}
