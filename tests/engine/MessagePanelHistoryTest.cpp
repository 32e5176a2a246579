// The in-frame message panel, the visited-frames history and the click position.
#include <gtest/gtest.h>

#include "GameFixture.h"
#include "startup/Messages.h"

namespace qm::testing {
namespace {

class MessagePanelHistoryTest : public GameFixture {
 protected:
  engine::Game& open() {
    GeneralFields g;
    g.width = 400;
    g.height = 300;
    return startPlainHall(folder_, g);
  }
  GameFolderBuilder folder_;
};

TEST_F(MessagePanelHistoryTest, InFrameMessageStandsAtTheBottomAcrossThePicture) {
  auto& g = open();
  startup::ShowMessage("Hello there", true, false);
  EXPECT_TRUE(g.FrameMessageBox->visible());
  EXPECT_TRUE(g.LabelMessageBox->visible());
  EXPECT_EQ(g.LabelMessageBox->caption(), "Hello there");
  EXPECT_EQ(g.FrameMessageBox->width(), 400 * 15);
  EXPECT_EQ(g.FrameMessageBox->height(), g.LabelMessageBox->height() + 525);
  EXPECT_EQ(g.FrameMessageBox->top() + g.FrameMessageBox->height(), 300 * 15);
  EXPECT_EQ(g.TimerMessageBox.interval(), 70 * 11 + 1000);
  EXPECT_TRUE(g.TimerMessageBox.enabled());
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(MessagePanelHistoryTest, HideTextAndClicksHideThePanel) {
  auto& g = open();
  startup::ShowMessage("One", true, false);
  startup::ShowMessage("[HIDE]", true, false);
  EXPECT_FALSE(g.FrameMessageBox->visible());
  EXPECT_FALSE(g.TimerMessageBox.enabled());
  EXPECT_EQ(g.TimerMessageBox.interval(), 0);
  startup::ShowMessage("Two", true, false);
  g.LabelMessageBox->onMouseDown(1, 0, 0, 0);
  EXPECT_FALSE(g.FrameMessageBox->visible());
}

TEST_F(MessagePanelHistoryTest, PanelHidesByItselfUnlessAskedToStay) {
  auto& g = open();
  startup::ShowMessage("x", true, false);  // 1070 ms
  runEvents(1250);
  EXPECT_FALSE(g.FrameMessageBox->visible());
  startup::ShowMessage("y", true, false);
  startup::ShowMessage("stays", true, true);
  runEvents(1250);
  EXPECT_TRUE(g.FrameMessageBox->visible());
}

TEST_F(MessagePanelHistoryTest, MessageOutsideTheFrameIsAnInformationBox) {
  open();
  startup::ShowMessage("Boxed", false, false);
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text, "Boxed");
  EXPECT_EQ(lastBox().icon, platform::MsgIcon::Information);
  EXPECT_EQ(lastBox().title, "Test Game");
}

TEST_F(MessagePanelHistoryTest, HistoryKeepsTheLastTwentyAndNoRepeats) {
  auto& g = open();
  EXPECT_EQ(g.FramesHistory.items(), QStringList({"Hall"}));
  g.FramesHistoryAdd("Hall");
  EXPECT_EQ(g.FramesHistory.ListCount(), 1);
  for (int i = 1; i <= 25; ++i) g.FramesHistoryAdd(QString("F%1").arg(i));
  EXPECT_EQ(g.FramesHistory.ListCount(), 20);
  EXPECT_EQ(g.FramesHistory.List(0), "F6");
  EXPECT_EQ(g.FramesHistory.List(19), "F25");
  g.FramesHistoryAdd("f25");  // other letter case is another entry
  EXPECT_EQ(g.FramesHistory.List(19), "f25");
}

TEST_F(MessagePanelHistoryTest, ClickPositionIsRoundedToPixelsHalvesToEven) {
  auto& g = open();
  g.SaveClickPos(1500 + 100, 3000 + 50);
  EXPECT_EQ(g.state().ClickPositionX, 107);
  EXPECT_EQ(g.state().ClickPositionY, 203);
  g.SaveClickPos(22.5, 37.5);  // 1.5 and 2.5 pixels
  EXPECT_EQ(g.state().ClickPositionX, 2);
  EXPECT_EQ(g.state().ClickPositionY, 2);
}

TEST_F(MessagePanelHistoryTest, ResetEmptiesTheHistory) {
  auto& g = open();
  g.FramesHistoryAdd("Other");
  g.ResetAll();
  EXPECT_EQ(g.FramesHistory.ListCount(), 0);
  EXPECT_FALSE(startup::GameStopped());
}

}  // namespace
}  // namespace qm::testing
