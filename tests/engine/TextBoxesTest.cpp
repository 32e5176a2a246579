// Text boxes: which file is read, merged indices, captions and fonts.
#include <gtest/gtest.h>

#include "GameFixture.h"

namespace qm::testing {
namespace {

class TextBoxesTest : public GameFixture {
 protected:
  engine::Game& open(GameFolderBuilder& folder) { return startPlainHall(folder); }
  static int loaded(engine::Game& g) { return g.Text.Count() - 1; }
};

TEST_F(TextBoxesTest, OwnFileLoadsItsBoxesInOrder) {
  GameFolderBuilder folder;
  TextBoxSpec a, b;
  a.caption = "First";
  a.left = 1500;
  a.top = 300;
  b.caption = "Second";
  folder.file("FramesData/Hall.fm1", textFileBytes({a, b}));
  auto& g = open(folder);
  ASSERT_EQ(loaded(g), 2);
  EXPECT_EQ(g.Text[1].caption(), "First");
  EXPECT_EQ(g.Text[1].left(), 1500);
  EXPECT_EQ(g.Text[1].top(), 300);
  EXPECT_TRUE(g.Text[1].visible());
  EXPECT_EQ(g.Text[2].caption(), "Second");
  EXPECT_EQ(g.state().MergedTextIndex, 1);
}

TEST_F(TextBoxesTest, MergedFileIsReadInsteadOfTheOwnFile) {
  GameFolderBuilder folder;
  TextBoxSpec own, merged;
  own.caption = "own only";
  merged.caption = "from merged";
  folder.file("FramesData/Hall.fm1", textFileBytes({own}));
  folder.file("FramesData/Hall.MR1", textFileBytes({own, merged, merged}));
  auto& g = open(folder);
  EXPECT_EQ(loaded(g), 3);
}

TEST_F(TextBoxesTest, MergedIndexIsTheFirstMarkedRecordAfterTheFirst) {
  GameFolderBuilder folder;
  std::vector<TextBoxSpec> boxes(4);
  boxes[0].mergedMark = 1;  // the first record never counts
  boxes[2].mergedMark = 1;
  boxes[3].mergedMark = 1;
  folder.file("FramesData/Hall.mr1", textFileBytes(boxes));
  auto& g = open(folder);
  EXPECT_EQ(g.state().MergedTextIndex, 3);
}

TEST_F(TextBoxesTest, EmptyMarkerInAnyCaseGivesAnEmptyCaption) {
  GameFolderBuilder folder;
  std::vector<TextBoxSpec> boxes(3);
  boxes[0].caption = "[EMPTY]";
  boxes[1].caption = "[empty] ";
  boxes[2].caption = "[Empty]";
  folder.file("FramesData/Hall.fm1", textFileBytes(boxes));
  auto& g = open(folder);
  EXPECT_EQ(g.Text[1].caption(), "");
  EXPECT_EQ(g.Text[2].caption(), "[empty] ");
  EXPECT_EQ(g.Text[3].caption(), "");
}

TEST_F(TextBoxesTest, FontsAndColourAreApplied) {
  GameFolderBuilder folder;
  TextBoxSpec s;
  s.fontName = "";
  s.fontSize = 14;
  s.bold = s.italic = s.underline = s.strikethrough = true;
  s.colour = 0x0000FF;
  folder.file("FramesData/Hall.fm1", textFileBytes({s}));
  auto& g = open(folder);
  const auto& t = g.Text[1];
  EXPECT_EQ(t.fontName(), "Arial");  // an empty name gives Arial
  EXPECT_EQ(t.fontSize(), 14);
  EXPECT_TRUE(t.fontBold());
  EXPECT_TRUE(t.fontItalic());
  EXPECT_TRUE(t.fontUnderline());
  EXPECT_TRUE(t.fontStrikethru());
  EXPECT_EQ(t.foreColor(), 0x0000FF);
  EXPECT_GT(t.width(), 0);  // sized to its caption
}

TEST_F(TextBoxesTest, MalformedFieldStillShowsTheBox) {
  GameFolderBuilder folder;
  // The left position is a quoted word: that statement is skipped.
  folder.file("FramesData/Hall.fm1",
              "0,0,0,0,0,0,0,0,0,0,\"Hello\",\"far\",300,#TRUE#,#FALSE#,\"Arial\",10,#FALSE#,#FALSE#,255,0\r\n");
  auto& g = open(folder);
  ASSERT_EQ(loaded(g), 1);
  EXPECT_EQ(g.Text[1].caption(), "Hello");
  EXPECT_EQ(g.Text[1].top(), 300);
  EXPECT_TRUE(g.Text[1].fontBold());
  EXPECT_TRUE(g.Text[1].visible());
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(TextBoxesTest, GarbageFileEndsWithoutHanging) {
  GameFolderBuilder folder;
  folder.file("FramesData/Hall.fm1", QByteArray("\"unterminated,,,#what#\r\n\x01\x02\"", 28));
  auto& g = open(folder);
  EXPECT_LE(loaded(g), 2);
}

TEST_F(TextBoxesTest, NextFrameRemovesTheOldBoxes) {
  GameFolderBuilder folder;
  folder.file("FramesData/Hall.fm1", textFileBytes(std::vector<TextBoxSpec>(5)));
  frame(folder, "Empty", FrameSpec{});
  auto& g = open(folder);
  EXPECT_EQ(loaded(g), 5);
  g.OpenFrame("Empty", false, 0, 0);
  EXPECT_EQ(loaded(g), 0);
  g.OpenFrame("Hall", false, 0, 0);
  EXPECT_EQ(loaded(g), 5);
  EXPECT_EQ(g.Text.UBound(), 5);
}

TEST_F(TextBoxesTest, NothingLoadsOnceTheGameIsStopping) {
  GameFolderBuilder folder;
  folder.file("FramesData/Hall.fm1", textFileBytes(std::vector<TextBoxSpec>(3)));
  auto& g = open(folder);
  g.ResetFrameTexts();
  startup::SetGameStopped(true);
  g.LoadTexts();
  EXPECT_EQ(loaded(g), 0);
}

}  // namespace
}  // namespace qm::testing
