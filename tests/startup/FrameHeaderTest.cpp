#include <gtest/gtest.h>

#include "startup/FrameHeader.h"
#include "startup/Project.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"

using namespace qm::startup;
using qm::platform::MsgIcon;
using qm::testing::GameFolderBuilder;

namespace {

class FrameHeaderTest : public qm::testing::ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    SetDefaultInterfaceTexts(false);
    setProjectFolder(game_.root());
  }
  GameFolderBuilder game_;
};

}  // namespace

TEST_F(FrameHeaderTest, ReadsTheFirstFieldsAndTheHotspotCount) {
  game_.frameHeader("Hall", 1, "hall.bmp", true, 12);
  project().frame.extraName = "old";
  EXPECT_TRUE(ReadFrameHeader("hall"));
  const FrameHeader& h = project().frame;
  EXPECT_EQ(h.name, "hall");
  EXPECT_EQ(CurrentFrameName(), "hall");
  EXPECT_EQ(h.extraName, "");
  EXPECT_EQ(h.backgroundType, 1);
  EXPECT_EQ(h.backgroundPicture, "hall.bmp");
  EXPECT_TRUE(h.tile);
  EXPECT_EQ(h.hotspotCount, 12);
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(FrameHeaderTest, ClearingEmptiesEveryField) {
  game_.frameHeader("Hall", 1, "hall.bmp", true, 12);
  ReadFrameHeader("Hall");
  ClearFrameHeader();
  EXPECT_EQ(project().frame.name, "");
  EXPECT_EQ(project().frame.backgroundPicture, "");
  EXPECT_EQ(project().frame.backgroundType, 0);
  EXPECT_EQ(project().frame.hotspotCount, 0);
  EXPECT_FALSE(project().frame.tile);
}

TEST_F(FrameHeaderTest, AMissingFrameFileIsReported) {
  EXPECT_FALSE(ReadFrameHeader("Nowhere"));
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text,
            "An error has occurred. The program may not work properly. Press 'Esc' and the click 'Exit' to quit."
            "\r\n\r\nError description: Unable to load the frame called 'Nowhere'. File not found");
  EXPECT_EQ(lastBox().title, "Error");
  EXPECT_EQ(lastBox().icon, MsgIcon::Critical);
  EXPECT_EQ(CurrentFrameName(), "Nowhere");
}

TEST_F(FrameHeaderTest, AFailedHeaderNeverKeepsThePreviousFramesCount) {
  game_.frameHeader("Hall", 1, "hall.bmp", false, 12);
  ReadFrameHeader("Hall");
  game_.file("Frames/Broken.fme", "\"not a number\"\r\n");
  EXPECT_FALSE(ReadFrameHeader("Broken"));
  EXPECT_EQ(project().frame.hotspotCount, 0);
  game_.file("Frames/Broken.lks", "3\r\n");
  EXPECT_FALSE(ReadFrameHeader("Broken"));
  EXPECT_EQ(project().frame.hotspotCount, 3);
}

TEST_F(FrameHeaderTest, ATruncatedFrameFileIsReported) {
  game_.file("Frames/Cut.fme", "1,\"pic.bmp\"\r\n");
  EXPECT_FALSE(ReadFrameHeader("Cut"));
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_TRUE(lastBox().text.endsWith("Unable to load the frame called 'Cut'. Input past end of file"));
  EXPECT_EQ(project().frame.backgroundPicture, "pic.bmp");
}

TEST_F(FrameHeaderTest, NoCountFileMeansNoHotspots) {
  game_.frameHeader("Empty", 0, "", false);
  EXPECT_TRUE(ReadFrameHeader("Empty"));
  EXPECT_EQ(project().frame.hotspotCount, 0);
  EXPECT_EQ(ReadHotspotsCount("Empty"), 0);
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(FrameHeaderTest, AnUnreadableCountWarnsAndGivesZero) {
  game_.file("Frames/Bad.lks", "\"many\"\r\n");
  EXPECT_EQ(ReadHotspotsCount("Bad"), 0);
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text, "Error reading the hotspots count from the file \"" + project().paths.frames +
                                "Bad.lks\".\r\n\r\nType mismatch");
  EXPECT_EQ(lastBox().title, "Error");
  EXPECT_EQ(lastBox().icon, MsgIcon::Warning);
  game_.file("Frames/Huge.lks", "40000\r\n");
  EXPECT_EQ(ReadHotspotsCount("Huge"), 0);
  EXPECT_TRUE(lastBox().text.endsWith("\r\n\r\nOverflow"));
  game_.file("Frames/None.lks", "");
  EXPECT_EQ(ReadHotspotsCount("None"), 0);
  EXPECT_TRUE(lastBox().text.endsWith("\r\n\r\nInput past end of file"));
}

TEST_F(FrameHeaderTest, TheCountIsRoundedToAnInteger) {
  game_.file("Frames/R.lks", "6.5\r\n");
  EXPECT_EQ(ReadHotspotsCount("r"), 6);
}
