// The game window as scripts see it (WindowObject): its VB properties reach
// the real window, Image is what the window shows, and Controls lists every
// control with each loaded array element.
#include <gtest/gtest.h>

#include <QImage>

#include "ScriptGameFixture.h"

namespace qm::testing {
namespace {

class WindowObjectTest : public ScriptGameFixture {
 protected:
  void SetUp() override {
    ScriptGameFixture::SetUp();
    basicGame(folder_, {"score", "other"}, QStringList{"result"});
    frame(folder_, "Hall", {HotspotSpec{}, HotspotSpec{}});
    startGame(folder_);
  }
  QString result() { return variant("result").toString(); }
  GameFolderBuilder folder_;
};

TEST_F(WindowObjectTest, EnabledReachesTheWindow) {
  ok("WindowObject.Enabled = False\r\nresult = CStr(WindowObject.Enabled)");
  EXPECT_FALSE(game().isEnabled());
  EXPECT_EQ(result(), "False");
  ok("WindowObject.Enabled = True");
  EXPECT_TRUE(game().isEnabled());
}

TEST_F(WindowObjectTest, WindowStateMinimisesMaximisesAndRestores) {
  ok("WindowObject.WindowState = 1\r\nresult = WindowObject.WindowState");
  EXPECT_TRUE(game().windowState() & Qt::WindowMinimized);
  EXPECT_EQ(result(), "1");
  ok("WindowObject.WindowState = 2\r\nresult = WindowObject.WindowState");
  EXPECT_TRUE(game().windowState() & Qt::WindowMaximized);
  EXPECT_EQ(result(), "2");
  ok("WindowObject.WindowState = 0\r\nWindowObject.WindowState = 7\r\nresult = WindowObject.WindowState");
  EXPECT_EQ(game().windowState(), Qt::WindowNoState);
  EXPECT_EQ(result(), "0");
}

TEST_F(WindowObjectTest, KeptPropertiesReadBackWhatWasSet) {
  ok("WindowObject.KeyPreview = True\r\nWindowObject.Tag = \"main\"\r\nWindowObject.FontBold = True\r\n"
     "WindowObject.Font.Size = 12\r\nWindowObject.ForeColor = 255\r\n"
     "result = WindowObject.KeyPreview & WindowObject.Tag & WindowObject.Font.Bold & WindowObject.FontSize & "
     "WindowObject.ForeColor & WindowObject.Name");
  EXPECT_EQ(result(), "TruemainTrue12255Game");
}

TEST_F(WindowObjectTest, MoveAndScaleSizesAreInTwips) {
  ok("WindowObject.Move 150, 300, 7500, 6000\r\n"
     "result = WindowObject.Left & \",\" & WindowObject.Top & \",\" & WindowObject.Width & \",\" & "
     "WindowObject.ScaleWidth & \",\" & WindowObject.ScaleHeight");
  EXPECT_EQ(game().geometry(), QRect(10, 20, 500, 400));
  EXPECT_EQ(result(), "150,300,7500,7500,6000");
  run("WindowObject.ScaleWidth = 100");
  EXPECT_EQ(messagesContaining("read-only"), 1u) << allMessages().toStdString();
}

TEST_F(WindowObjectTest, BackColourSurroundsThePictureInTheWindowsImage) {
  ok("WindowObject.Width = 9000\r\nWindowObject.Height = 6000\r\nWindowObject.BackColor = &HFF&\r\n"
     "SaveAPicture WindowObject.Image, GetPath(2) & \"window.bmp\"");
  const QImage saved(startup::project().paths.external + "window.bmp");
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.size(), QSize(600, 400));
  // The 400-pixel picture stands in the middle; the window's sides show the back colour.
  EXPECT_EQ(saved.pixel(599, 399), 0xffff0000);
  EXPECT_EQ(saved.pixel(2, 399), 0xffff0000);
  // A new game paints the surround black again.
  game().ResetAll();
  ok("WindowObject.Width = 9000");
  const QImage again = game().grab().toImage();
  EXPECT_EQ(again.pixel(again.width() - 1, again.height() - 1), 0xff000000);
}

TEST_F(WindowObjectTest, MousePointerShowsOnTheWindow) {
  ok("WindowObject.MousePointer = 11\r\nresult = WindowObject.MousePointer");
  EXPECT_EQ(game().cursor().shape(), Qt::WaitCursor);
  EXPECT_EQ(result(), "11");
  ok("WindowObject.MousePointer = 0");
  EXPECT_EQ(game().cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WindowObjectTest, MouseIconTakesAPictureFromAFile) {
  folder_.picture("Areas/hand.bmp", 24, 24, Qt::red);
  ok("Set WindowObject.MouseIcon = LoadGraphicFile(\"hand.bmp\")\r\nWindowObject.MousePointer = 99\r\n"
     "Set Hotspot(1).MouseIcon = LoadGraphicFile(\"hand.bmp\")\r\nHotspot(1).MousePointer = 99");
  EXPECT_EQ(game().cursor().pixmap().width(), 24);
  EXPECT_EQ(game().Area[1].cursor().pixmap().width(), 24);
  // Nothing takes the icon away: the pointer of the container shows again.
  ok("Set WindowObject.MouseIcon = Nothing\r\nresult = WindowObject.MouseIcon");
  EXPECT_TRUE(game().cursor().pixmap().isNull());
  EXPECT_EQ(result(), "");
}

TEST_F(WindowObjectTest, WindowHandleIsStableAndItsOwn) {
  ok("h = WindowObject.hWnd\r\nresult = (h = WindowObject.hWnd) & (h <> BackgroundObject.hWnd) & (h > 0)");
  EXPECT_EQ(result(), "TrueTrueTrue");
}

TEST_F(WindowObjectTest, ControlsListsEveryControlAndEveryLoadedElement) {
  ok("n = 0\r\nFor Each c In WindowObject.Controls\r\n  n = n + 1\r\nNext\r\n"
     "result = (n = WindowObject.Controls.Count) & (n = WindowObject.Count) & \",\" & "
     "WindowObject.Controls(\"PictureBox\").Name & \",\" & WindowObject.Controls(0).Name\r\nscore = n");
  EXPECT_EQ(result(), "TrueTrue,PictureBox,PictureBox");
  const int before = var("score");
  EXPECT_GT(before, 40);
  // Two hotspots are loaded beside their template; one more picture box makes one more control.
  ok("LoadControl PictureBoxObject(3)\r\nscore = WindowObject.Controls.Count\r\nn = 0\r\n"
     "For Each c In WindowObject.Controls\r\n  If c.Name = \"Area\" Then n = n + 1\r\nNext\r\nother = n");
  EXPECT_EQ(var("score"), before + 1);
  EXPECT_EQ(var("other"), 3);
  run("On Error Resume Next\r\nx = WindowObject.Controls(\"NoSuchThing\")\r\nresult = Err.Number\r\nErr.Clear\r\n"
      "x = WindowObject.Controls(100000)\r\nresult = result & \",\" & Err.Number");
  EXPECT_EQ(result(), "730,9");
}

TEST_F(WindowObjectTest, DrawingMembersAndPictureAreNotTheWindows) {
  QString code = "On Error Resume Next\r\nresult = \"\"\r\n";
  for (const char* line : {"WindowObject.PSet 0, 0", "WindowObject.Cls", "x = WindowObject.Picture",
                           "x = WindowObject.Point(0, 0)", "x = WindowObject.ToolTipText"})
    code += QString::fromLatin1(line) + "\r\nresult = result & Err.Number & \" \"\r\nErr.Clear\r\n";
  ok(code);
  EXPECT_EQ(result(), "438 438 438 438 438 ");
}

}  // namespace
}  // namespace qm::testing
