// The game as scripts see it: variables with their default property, the
// controls of the window with their VB properties in twips, control arrays,
// script-only control arrays, the screen, application and clipboard objects.
#include <gtest/gtest.h>

#include "ScriptGameFixture.h"

namespace qm::testing {
namespace {

class ObjectModelTest : public ScriptGameFixture {
 protected:
  void SetUp() override {
    ScriptGameFixture::SetUp();
    basicGame(folder_, {"score", "lamp"}, QStringList{"name", "bag"});
    frame(folder_, "Hall", {HotspotSpec{}, HotspotSpec{}});
    startGame(folder_);
  }
  GameFolderBuilder folder_;
};

TEST_F(ObjectModelTest, IntegerVariablesAreLiveObjectsWithADefaultValue) {
  ok("score = 5\r\nIf score = 5 Then lamp.Value = score + 1");
  EXPECT_EQ(var("score"), 5);
  EXPECT_EQ(var("lamp"), 6);
  ok("lamp = lamp.Value * 2");
  EXPECT_EQ(var("lamp"), 12);
}

TEST_F(ObjectModelTest, IntegerVariablesOverflowAt16Bits) {
  run("score = 40000");
  EXPECT_EQ(messagesContaining("Overflow"), 1u) << allMessages().toStdString();
  EXPECT_EQ(var("score"), 0);
}

TEST_F(ObjectModelTest, VariantVariablesKeepTextAndObjects) {
  ok("name = \"Ann\" & 1");
  EXPECT_EQ(variant("name").toString(), "Ann1");
  ok("Set bag.Value = Hotspot(1)\r\nbag.Value.Left = 300");
  EXPECT_EQ(game().Area[1].left(), 300);
}

TEST_F(ObjectModelTest, VariableReferenceFromNameIsLive) {
  ok("Set v = GetVariableReferenceFromName(\"SCORE\")\r\nv.Value = 8\r\n"
     "If GetVariableReferenceFromName(\"nothing here\") Is Nothing Then lamp = 1");
  EXPECT_EQ(var("score"), 8);
  EXPECT_EQ(var("lamp"), 1);
}

TEST_F(ObjectModelTest, UndeclaredNamesStayScriptVariables) {
  // No object of the model may claim a name it does not have.
  ok("zz = 5\r\nSet d = Hotspot(1)\r\nscore = zz + d.Left - d.Left");
  EXPECT_EQ(var("score"), 5);
}

TEST_F(ObjectModelTest, ControlsExposeTheirPropertiesInTwips) {
  ok("Hotspot(1).Left = 1500\r\nHotspot(1).Top = 300\r\nHotspot(1).Width = 750\r\nHotspot(1).Tag = \"door\"");
  const auto& area = game().Area[1];
  EXPECT_EQ(area.left(), 1500);
  EXPECT_EQ(area.geometry().x(), 100);
  EXPECT_EQ(area.geometry().width(), 50);
  EXPECT_EQ(area.tag(), "door");
  ok("Hotspot(2).Move 150, 150, 300, 300\r\nscore = Hotspot(2).Width + Hotspot(1).Top");
  EXPECT_EQ(var("score"), 600);
}

TEST_F(ObjectModelTest, TextBoxesTakeCaptionsAndFontsFromScripts) {
  ok("MessageObject.Caption = \"Hello\"\r\nMessageObject.Font.Size = 14\r\nMessageObject.FontBold = True\r\n"
     "name = MessageObject.Caption & MessageObject.Font.Size & MessageObject.Font.Bold");
  EXPECT_EQ(variant("name").toString(), "Hello14True");
  EXPECT_EQ(game().LabelMessageBox->vbGet("FontSize").toDouble(), 14.0);
}

TEST_F(ObjectModelTest, UnknownPropertyIsAScriptError) {
  run("Hotspot(1).Colour = 3");
  EXPECT_EQ(messagesContaining(script::kRunFailedSentence), 1u);
}

TEST_F(ObjectModelTest, ControlArraysCountAndEnumerateTheirElements) {
  ok("For Each h In Hotspot\r\n  score = score + 1\r\nNext\r\nlamp = Hotspot.UBound * 10 + Hotspot.LBound");
  EXPECT_EQ(var("score"), game().Area.Count());
  EXPECT_EQ(var("lamp"), 20);
}

TEST_F(ObjectModelTest, MissingElementRaisesError340) {
  run("Hotspot(7).Left = 0");
  EXPECT_EQ(messagesContaining("doesn't exist"), 1u) << allMessages().toStdString();
}

TEST_F(ObjectModelTest, PictureLoadedFromAFileGoesIntoAControl) {
  folder_.picture("Areas/key.bmp", 20, 10, Qt::red);
  ok("Set p = LoadGraphicFile(\"key.bmp\")\r\nSet Hotspot(1).Picture = p\r\nLoadAPicture Hotspot(2), \"key.bmp\"");
  EXPECT_TRUE(game().Area[1].hasPicture());
  EXPECT_TRUE(game().Area[2].hasPicture());
  // A missing file: the media locator's warning, then nothing.
  run("If LoadGraphicFile(\"absent.bmp\") Is Nothing Then score = 1");
  EXPECT_EQ(var("score"), 1);
  EXPECT_EQ(messagesContaining("absent.bmp"), 1u) << allMessages().toStdString();
  EXPECT_EQ(boxCount(), 1u);
}

TEST_F(ObjectModelTest, ScriptOnlyArraysLoadAndUnloadElements) {
  ok("score = LoadControl(CheckBoxObject(2))\r\nCheckBoxObject(2).Caption = \"Sound\"\r\nCheckBoxObject(2).Value = 1\r\n"
     "lamp = CheckBoxObject.Count\r\nname = CheckBoxObject(2).Caption");
  EXPECT_EQ(var("score"), -1);
  EXPECT_EQ(var("lamp"), 2);
  EXPECT_EQ(variant("name").toString(), "Sound");
  ok("score = 5\r\nIf LoadControl(CheckBoxObject(2)) Then score = 6\r\nlamp = UnloadControl(CheckBoxObject(2))");
  EXPECT_EQ(var("score"), 5);  // already loaded: False
  EXPECT_EQ(var("lamp"), -1);
  ok("lamp = UnloadControl(CheckBoxObject(0))");
  EXPECT_EQ(var("lamp"), 0);
}

TEST_F(ObjectModelTest, GameArraysLoadElementsFromTheirTemplate) {
  ok("ImageBoxObject(0).Width = 450\r\nscore = LoadControl(ImageBoxObject(4))\r\nlamp = ImageBoxObject(4).Width");
  EXPECT_EQ(var("score"), -1);
  EXPECT_EQ(var("lamp"), 450);
  ASSERT_TRUE(game().ImgBox.exists(4));
  EXPECT_FALSE(game().ImgBox[4].visible());
}

TEST_F(ObjectModelTest, ScreenAppAndClipboardBehaveAsInVB) {
  ok("ClipboardObject.SetText \"hello\"\r\nname = ClipboardObject.GetText\r\nscore = ScreenObject.TwipsPerPixelX");
  EXPECT_EQ(variant("name").toString(), "hello");
  EXPECT_EQ(var("score"), 15);
  ok("name = AppObject.Path");
  QString path = startup::project().paths.project;
  path.chop(1);
  EXPECT_EQ(variant("name").toString(), path);
  ok("PrinterObject.Print \"x\"\r\nPrinterObject.Orientation = 2\r\nPrinterObject.EndDoc\r\n"
     "score = PrintersCollection.Count + PrinterObject.Orientation");
  EXPECT_EQ(var("score"), 3);
}

TEST_F(ObjectModelTest, ControlsReachableByNameOnlyWhenAllowed) {
  run("PictureBox.Visible = True");
  EXPECT_EQ(messagesContaining(script::kRunFailedSentence), 1u);
  ok("AllowControlsReferencesNextTime");
  ok("BackImage.Tag = \"bg\"\r\nscore = SoftwareObjects.Area.Count");
  EXPECT_EQ(game().BackImage->tag(), "bg");
  EXPECT_EQ(var("score"), game().Area.Count());
}

TEST_F(ObjectModelTest, ControlArraysAreMembersOfTheWindowObject) {
  ok("score = WindowObject.Area(1).Left + 1\r\nWindowObject.Caption = \"My game\"");
  EXPECT_EQ(var("score"), game().Area[1].left() + 1);
  EXPECT_EQ(game().windowTitle(), "My game");
}

TEST_F(ObjectModelTest, WindowObjectCountsTheInventoryItemsAndKeepsTheCountItsOwn) {
  for (const QString name : {"key", "rope"}) {
    startup::RecordWriter obj;
    obj.str(name + ".png");
    folder_.records("Areas/" + name + ".obj", obj);
    folder_.picture("Areas/" + name + ".png", 32, 32, Qt::yellow);
  }
  ok("score = WindowObject.ObjectsCount\r\nAddItem \"key\", True\r\nAddItem \"rope\", True\r\n"
     "lamp = WindowObject.ObjectsCount");
  EXPECT_EQ(var("score"), 0);
  EXPECT_EQ(var("lamp"), 2);
  ok("RemoveItem \"key\", False\r\nlamp = WindowObject.ObjectsCount");
  EXPECT_EQ(var("lamp"), 1);
  // Changing the count would leave item controls the bar no longer counts.
  run("WindowObject.ObjectsCount = 0");
  EXPECT_EQ(messagesContaining(script::kRunFailedSentence), 1u);
  EXPECT_EQ(game().state().ObjectsCount, 1);
}

}  // namespace
}  // namespace qm::testing
