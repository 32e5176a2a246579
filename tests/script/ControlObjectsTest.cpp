// The controls' VB members as scripts use them, on the real controls of the
// game window: what a member changes on screen is checked on the painted
// picture, and a member the control's VB kind lacks raises 438.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "ScriptGameFixture.h"
#include "engine/GameDisplay.h"

namespace qm::testing {
namespace {

constexpr QRgb kRed = 0xffff0000, kBlue = 0xff0000ff, kWhite = 0xffffffff, kBlack = 0xff000000;

class ControlObjectsTest : public ScriptGameFixture {
 protected:
  void SetUp() override {
    ScriptGameFixture::SetUp();
    basicGame(folder_, {"score", "other"}, QStringList{"result"});
    folder_.picture("Areas/key.bmp", 20, 10, Qt::red);
    frame(folder_, "Hall", {HotspotSpec{}});
    startGame(folder_);
  }
  QString result() { return variant("result").toString(); }
  // What the player sees: the game picture with every control on it.
  QImage screen() { return game().display().framePicture(); }
  // A white 40 x 40 pixel picture box at the picture's corner, shown.
  void whiteBox(int index = 1) {
    ok(QStringLiteral("LoadControl PictureBoxObject(%1)\r\nWith PictureBoxObject(%1)\r\n"
                      ".Move 0, 0, 600, 600\r\n.BackColor = &HFFFFFF\r\n.Visible = True\r\nEnd With")
           .arg(index));
  }
  GameFolderBuilder folder_;
};

// ---- Picture boxes: drawing ------------------------------------------------------

TEST_F(ControlObjectsTest, PSetPaintsOnePixelThatPointReadsBack) {
  whiteBox();
  ok("PictureBoxObject(1).PSet 150, 150, &HFF&\r\n"
     "result = PictureBoxObject(1).Point(150, 150) & \",\" & PictureBoxObject(1).Point(165, 150) & \",\" & "
     "PictureBoxObject(1).Point(-15, 0) & \",\" & PictureBoxObject(1).Point(600, 0)");
  // Red where drawn, white beside it, -1 outside the box on either side.
  EXPECT_EQ(result(), "255,16777215,-1,-1");
  const QImage shot = screen();
  EXPECT_EQ(shot.pixel(10, 10), kRed);
  EXPECT_EQ(shot.pixel(11, 10), kWhite);
}

TEST_F(ControlObjectsTest, PSetWithoutAColourUsesTheForeColour) {
  whiteBox();
  ok("PictureBoxObject(1).ForeColor = &HFF0000\r\nPictureBoxObject(1).PSet 30, 45\r\n"
     "result = PictureBoxObject(1).CurrentX & \",\" & PictureBoxObject(1).CurrentY");
  EXPECT_EQ(screen().pixel(2, 3), kBlue);
  EXPECT_EQ(result(), "30,45");
}

TEST_F(ControlObjectsTest, ClsClearsTheDrawingAndKeepsTheBackColour) {
  whiteBox();
  ok("PictureBoxObject(1).PSet 150, 150, 255\r\nPictureBoxObject(1).Cls\r\n"
     "result = PictureBoxObject(1).Point(150, 150) & \",\" & PictureBoxObject(1).CurrentX");
  EXPECT_EQ(result(), "16777215,0");
  EXPECT_EQ(screen().pixel(10, 10), kWhite);
}

TEST_F(ControlObjectsTest, PaintPictureDrawsAtItsOwnSizeOrTheSizeAsked) {
  whiteBox();
  ok("Set p = LoadGraphicFile(\"key.bmp\")\r\nPictureBoxObject(1).PaintPicture p, 150, 0");
  QImage shot = screen();
  EXPECT_EQ(shot.pixel(10, 0), kRed);
  EXPECT_EQ(shot.pixel(29, 9), kRed);
  EXPECT_EQ(shot.pixel(30, 9), kWhite);   // 20 pixels wide
  EXPECT_EQ(shot.pixel(10, 10), kWhite);  // 10 high
  EXPECT_EQ(shot.pixel(9, 0), kWhite);
  // Stretched to 40 x 5 pixels at the box's left edge, lower down.
  ok("PictureBoxObject(1).Cls\r\nPictureBoxObject(1).PaintPicture LoadGraphicFile(\"key.bmp\"), 0, 300, 600, 75");
  shot = screen();
  EXPECT_EQ(shot.pixel(0, 20), kRed);
  EXPECT_EQ(shot.pixel(39, 24), kRed);
  EXPECT_EQ(shot.pixel(20, 25), kWhite);
  EXPECT_EQ(shot.pixel(20, 19), kWhite);
}

TEST_F(ControlObjectsTest, PaintPictureWantsAPicture) {
  whiteBox();
  run("On Error Resume Next\r\nPictureBoxObject(1).PaintPicture 5, 0, 0\r\nresult = Err.Number\r\nErr.Clear\r\n"
      "PictureBoxObject(1).PaintPicture Nothing, 0, 0\r\nresult = result & \",\" & Err.Number");
  EXPECT_EQ(result(), "13,424");
}

TEST_F(ControlObjectsTest, DrawingFollowsTheScaleTheScriptChose) {
  whiteBox();
  // Pixels.
  ok("PictureBoxObject(1).ScaleMode = 3\r\nPictureBoxObject(1).PSet 5, 6, 255\r\n"
     "result = PictureBoxObject(1).ScaleWidth");
  EXPECT_EQ(screen().pixel(5, 6), kRed);
  EXPECT_EQ(result(), "40");
  // A user scale of 100 x 100 over the 40 pixels, starting at 50.
  ok("PictureBoxObject(1).ScaleMode = 1\r\nPictureBoxObject(1).ScaleWidth = 100\r\n"
     "PictureBoxObject(1).ScaleHeight = 100\r\nPictureBoxObject(1).ScaleLeft = 50\r\n"
     "PictureBoxObject(1).PSet 100, 50, &HFF0000\r\n"
     "result = PictureBoxObject(1).ScaleMode & \",\" & PictureBoxObject(1).ScaleWidth");
  EXPECT_EQ(screen().pixel(20, 20), kBlue);
  EXPECT_EQ(result(), "0,100");
  // Back to twips: the scale is the box's inside again.
  ok("PictureBoxObject(1).ScaleMode = 1\r\nresult = PictureBoxObject(1).ScaleWidth & \",\" & PictureBoxObject(1).ScaleLeft");
  EXPECT_EQ(result(), "600,0");
}

TEST_F(ControlObjectsTest, BorderIsDrawnAndDrawingStaysInsideIt) {
  whiteBox();
  ok("PictureBoxObject(1).BorderStyle = 1\r\nPictureBoxObject(1).PSet 0, 0, 255\r\n"
     "result = PictureBoxObject(1).ScaleWidth & \",\" & PictureBoxObject(1).Width");
  const QImage shot = screen();
  EXPECT_EQ(shot.pixel(0, 0), kBlack);
  EXPECT_EQ(shot.pixel(39, 20), kBlack);
  EXPECT_EQ(shot.pixel(1, 1), kRed);
  EXPECT_EQ(result(), "570,600");
}

TEST_F(ControlObjectsTest, AutoSizeTakesThePictureSize) {
  whiteBox();
  ok("PictureBoxObject(1).AutoSize = True\r\nSet PictureBoxObject(1).Picture = LoadGraphicFile(\"key.bmp\")\r\n"
     "result = PictureBoxObject(1).Width & \"x\" & PictureBoxObject(1).Height");
  EXPECT_EQ(result(), "300x150");
  ok("PictureBoxObject(1).BorderStyle = 1\r\nresult = PictureBoxObject(1).Width & \"x\" & PictureBoxObject(1).Height");
  EXPECT_EQ(result(), "330x180");
}

TEST_F(ControlObjectsTest, ImageIsThePaintedPictureThatSaveAPictureSaves) {
  whiteBox();
  ok("Set PictureBoxObject(1).Picture = LoadGraphicFile(\"key.bmp\")\r\nPictureBoxObject(1).PSet 300, 300, &HFF0000\r\n"
     "Set i = PictureBoxObject(1).Image\r\nresult = i.Width & \",\" & i.Height\r\n"
     "SaveAPicture PictureBoxObject(1).Image, GetPath(2) & \"shot.bmp\"");
  // 40 pixels are 1058 HiMetric units.
  EXPECT_EQ(result(), "1058,1058");
  const QImage saved(startup::project().paths.external + "shot.bmp");
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.size(), QSize(40, 40));
  EXPECT_EQ(saved.pixel(0, 0), kRed);    // the picture
  EXPECT_EQ(saved.pixel(20, 20), kBlue);  // the drawing
  EXPECT_EQ(saved.pixel(30, 30), kWhite); // the back colour
  run("PictureBoxObject(1).Image = 5");
  EXPECT_EQ(messagesContaining("read-only"), 1u) << allMessages().toStdString();
}

// ---- Every control: place, order, state --------------------------------------------

TEST_F(ControlObjectsTest, ZOrderDecidesWhichOfTwoBoxesShows) {
  whiteBox(1);
  whiteBox(2);
  ok("PictureBoxObject(1).BackColor = &HFF&\r\nPictureBoxObject(2).BackColor = &HFF0000");
  EXPECT_EQ(screen().pixel(5, 5), kBlue);  // loaded last, on top
  ok("PictureBoxObject(1).ZOrder 0");
  EXPECT_EQ(screen().pixel(5, 5), kRed);
  ok("PictureBoxObject(1).ZOrder 1");
  EXPECT_EQ(screen().pixel(5, 5), kBlue);
  ok("PictureBoxObject(2).Visible = False");
  EXPECT_EQ(screen().pixel(5, 5), kRed);
}

TEST_F(ControlObjectsTest, MoveTakesTheValuesGivenAndKeepsTheOthers) {
  whiteBox();
  ok("PictureBoxObject(1).Move 150, 300\r\nresult = PictureBoxObject(1).Left & \",\" & PictureBoxObject(1).Top & \",\" & "
     "PictureBoxObject(1).Width\r\nPictureBoxObject(1).Move 0, 0, 300");
  EXPECT_EQ(result(), "150,300,600");
  EXPECT_EQ(game().PicBox[1].geometry(), QRect(0, 0, 20, 40));
}

TEST_F(ControlObjectsTest, EnabledToolTipPointerAndTagReachTheControl) {
  ok("Hotspot(1).Enabled = False\r\nHotspot(1).ToolTipText = \"A door\"\r\nHotspot(1).MousePointer = 11\r\n"
     "Hotspot(1).Tag = \"door\"\r\nresult = Hotspot(1).Enabled & Hotspot(1).ToolTipText & Hotspot(1).Tag");
  const auto& area = game().Area[1];
  EXPECT_FALSE(area.isEnabled());
  EXPECT_EQ(area.toolTip(), "A door");
  EXPECT_EQ(area.cursor().shape(), Qt::WaitCursor);
  EXPECT_EQ(result(), "FalseA doordoor");
}

TEST_F(ControlObjectsTest, WindowHandlesAreStableAndOnlyOnWindowedKinds) {
  whiteBox();
  ok("a = PictureBoxObject(1).hWnd\r\nb = BackgroundObject.hWnd\r\nc = MessageCanvasObject.hWnd\r\n"
     "t = TextBoxObject(0).hWnd\r\n"
     "result = (a = PictureBoxObject(1).hWnd) & (a <> b) & (b <> c) & (c <> t) & (a > 0) & "
     "(t = TextBoxObject(0).hWnd)");
  EXPECT_EQ(result(), "TrueTrueTrueTrueTrueTrue");
  run("On Error Resume Next\r\nh = Hotspot(1).hWnd\r\nresult = Err.Number\r\nErr.Clear\r\nh = MessageObject.hWnd\r\n"
      "result = result & \",\" & Err.Number\r\nErr.Clear\r\nPictureBoxObject(1).hWnd = 5\r\n"
      "result = result & \",\" & Err.Number\r\nErr.Clear\r\nTextBoxObject(0).hWnd = 5\r\nresult = result & \",\" & Err.Number");
  EXPECT_EQ(result(), "438,438,383,383");
}

// ---- Labels, frames and images: what their members draw -------------------------------

TEST_F(ControlObjectsTest, LabelDrawsItsCaptionInItsColoursAndAlignment) {
  ok("LoadControl Text(7)\r\nWith Text(7)\r\n.AutoSize = False\r\n.WordWrap = False\r\n.Move 0, 0, 1500, 300\r\n.BackStyle = 1\r\n.BackColor = &HFFFFFF\r\n"
     ".ForeColor = &HFF&\r\n.FontSize = 14\r\n.FontBold = True\r\n.Caption = \"WW\"\r\n.Visible = True\r\nEnd With");
  auto redIn = [this](int x0, int x1) {
    const QImage shot = screen();
    int n = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = x0; x < x1; ++x)
        if (qRed(shot.pixel(x, y)) > 200 && qGreen(shot.pixel(x, y)) < 80) ++n;
    return n;
  };
  EXPECT_EQ(screen().pixel(99, 19), kWhite);  // opaque back
  EXPECT_GT(redIn(0, 50), 10);
  EXPECT_EQ(redIn(50, 100), 0);
  ok("Text(7).Alignment = 1");
  EXPECT_EQ(redIn(0, 50), 0);
  EXPECT_GT(redIn(50, 100), 10);
  EXPECT_EQ(screen().pixel(0, 19), kWhite);
  ok("Text(7).BackStyle = 0");
  EXPECT_NE(screen().pixel(0, 19), kWhite);  // the frame shows through
}

TEST_F(ControlObjectsTest, FrameDrawsItsCaptionInItsForeColourAndFont) {
  ok("LoadControl WindowObject.fmeContainer1(1)\r\nWith WindowObject.fmeContainer1(1)\r\n.Move 0, 0, 1500, 600\r\n"
     ".BackColor = &HFFFFFF\r\n.ForeColor = &HFF0000\r\n.Visible = True\r\nEnd With");
  auto bluePixels = [this] {
    const QImage shot = screen();
    int n = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 100; ++x)
        if (qBlue(shot.pixel(x, y)) > 200 && qRed(shot.pixel(x, y)) < 80) ++n;
    return n;
  };
  EXPECT_EQ(bluePixels(), 0);
  ok("WindowObject.fmeContainer1(1).Caption = \"Inventory\"");
  const int small = bluePixels();
  EXPECT_GT(small, 10);
  ok("WindowObject.fmeContainer1(1).Font.Size = 20\r\nresult = WindowObject.fmeContainer1(1).FontSize");
  EXPECT_GT(bluePixels(), small);
  EXPECT_EQ(result(), "20");
}

TEST_F(ControlObjectsTest, ImageStretchesItsPictureOrTakesItsSize) {
  ok("LoadControl ImageBoxObject(1)\r\nSet ImageBoxObject(1).Picture = LoadGraphicFile(\"key.bmp\")\r\n"
     "ImageBoxObject(1).Visible = True\r\nresult = ImageBoxObject(1).Width & \"x\" & ImageBoxObject(1).Height");
  EXPECT_EQ(result(), "300x150");
  EXPECT_EQ(screen().pixel(19, 9), kRed);
  EXPECT_NE(screen().pixel(20, 10), kRed);
  ok("ImageBoxObject(1).Stretch = True\r\nImageBoxObject(1).Move 0, 0, 900, 450");
  EXPECT_EQ(screen().pixel(59, 29), kRed);
  EXPECT_NE(screen().pixel(60, 30), kRed);
  ok("ImageBoxObject(1).BorderStyle = 1");
  EXPECT_EQ(screen().pixel(0, 0), kBlack);
  EXPECT_EQ(screen().pixel(1, 1), kRed);
}

TEST_F(ControlObjectsTest, PictureBoxesAndFramesHaveAFontObject) {
  ok("BackgroundObject.Font.Name = \"Courier New\"\r\nBackgroundObject.FontBold = True\r\n"
     "MessageCanvasObject.FontItalic = True\r\n"
     "result = BackgroundObject.FontName & BackgroundObject.Font.Bold & MessageCanvasObject.Font.Italic");
  EXPECT_EQ(result(), "Courier NewTrueTrue");
}

// ---- What a kind does not have -----------------------------------------------------------

TEST_F(ControlObjectsTest, MembersTheKindLacksRaise438) {
  whiteBox();
  const char* lacking[] = {"Hotspot(1).Cls",           "x = Hotspot(1).Image",   "MessageObject.PSet 1, 1",
                           "x = MessageObject.Point(1, 1)", "TimerObject(0).Move 0", "ExitMenuObject.Refresh",
                           "MessageTimerObject.ZOrder",  "x = Hotspot(1).Font",    "PictureBoxObject(1).Print \"x\"",
                           "PictureBoxObject(1).Line 0, 0", "x = Hotspot(1).BackColor", "Hotspot(1).Play",
                           "x = MessageCanvasObject.Picture", "x = TimerObject(0).Left"};
  QString code = "On Error Resume Next\r\nresult = \"\"\r\n";
  for (const char* line : lacking)
    code += QString::fromLatin1(line) + "\r\nresult = result & Err.Number & \" \"\r\nErr.Clear\r\n";
  ok(code);
  QString expected;
  for (size_t i = 0; i < std::size(lacking); ++i) expected += "438 ";
  EXPECT_EQ(result(), expected);
}

}  // namespace
}  // namespace qm::testing
