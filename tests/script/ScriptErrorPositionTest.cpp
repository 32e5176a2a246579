// The script host's messages name the line of the author's code where a
// script failed: in the script itself, in a global procedure, or in the
// plugins' code; and scripts load pictures with LoadPicture.
#include <gtest/gtest.h>

#include "ScriptGameFixture.h"
#include "engine/controls/ImageControl.h"

namespace qm::testing {
namespace {

class ScriptErrorPositionTest : public ScriptGameFixture {
 protected:
  void startHall(const QString& proceduresCode = {}) {
    basicGame(folder_, {"n"});
    if (!proceduresCode.isEmpty()) procedures(folder_, proceduresCode);
    frame(folder_, "Hall", {HotspotSpec{}}, {scriptAction("n = 1")});
    startGame(folder_);
    dialogs().clear();
  }
  GameFolderBuilder folder_;
};

TEST_F(ScriptErrorPositionTest, ARunTimeErrorNamesTheLineOfTheScript) {
  startHall();
  run("n = 2\r\nIf n = 2 Then\r\n  n = n / 0\r\nEnd If");
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_TRUE(lastBox().text.endsWith("Division by zero\r\n\r\nLine 3: n = n / 0")) << lastBox().text.toStdString();
}

TEST_F(ScriptErrorPositionTest, AnErrorInsideAGlobalProcedureNamesItsLineThere) {
  startHall("Sub Risky()\r\n  Dim a\r\n  a = 1 / 0\r\nEnd Sub");
  run("Risky");
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_TRUE(lastBox().text.endsWith("Line 3 of the global procedures: a = 1 / 0")) << lastBox().text.toStdString();
}

TEST_F(ScriptErrorPositionTest, ASyntaxErrorNamesTheLineOfTheScript) {
  startHall();
  run("n = 1\r\nIf n Then n = 2\r\nFor i = 1\r\nNext");
  ASSERT_GE(boxCount(), 1u);
  EXPECT_TRUE(dialogs().shown()[0].text.contains("\r\n\r\nLine 3: For i = 1")) << allMessages().toStdString();
}

TEST_F(ScriptErrorPositionTest, AnErrorTheScriptHandlesItselfShowsNothing) {
  startHall();
  run("On Error Resume Next\r\nn = 1 / 0\r\nn = Err.Number");
  EXPECT_EQ(boxCount(), 0u);
  EXPECT_EQ(var("n"), 11);
}

TEST_F(ScriptErrorPositionTest, LoadPictureGivesHotspotsAndImagesTheirPicture) {
  folder_.picture("Areas/moon.png", 12, 8, Qt::yellow);
  startHall();
  run("Set Hotspot(1).Picture = LoadPicture(\"Areas\\moon.png\")\r\n"
      "n = Hotspot(1).Picture.Width");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  const engine::ImageControl& area = game().Area[1];
  EXPECT_EQ(area.image().width(), 12);
  run("Set Hotspot(1).Picture = LoadPicture(\"\")");
  EXPECT_TRUE(game().Area[1].image().isNull()) << "an empty path clears the picture";
}

TEST_F(ScriptErrorPositionTest, LoadPictureOfAMissingOrDamagedFileIsTheScriptsRunTimeError) {
  folder_.file("Areas/broken.png", "not a picture");
  startHall();
  run("On Error Resume Next\r\nSet p = LoadPicture(\"Areas\\none.png\")\r\nn = Err.Number");
  EXPECT_EQ(var("n"), 53);
  run("On Error Resume Next\r\nSet p = LoadPicture(\"Areas\\BROKEN.png\")\r\nn = Err.Number");
  EXPECT_EQ(var("n"), 481);
  run("Set p = LoadPicture(\"C:\\Games\\x.bmp\")");
  EXPECT_TRUE(lastBox().text.contains("File not found")) << allMessages().toStdString();
}

}  // namespace
}  // namespace qm::testing
