// Animated pictures of hotspots on the frame: transparency, bad files, the
// pair's life.
#include <gtest/gtest.h>

#include <QImage>

#include "logic/LogicGameFixture.h"
#include "engine/GameDisplay.h"
#include "support/GifFile.h"

namespace qm::testing {
namespace {

class AnimatedPicturesTest : public LogicGameFixture {
 protected:
  // Hall has a green background and hotspot 1 shows the animated picture `file`.
  engine::Game& hallWith(GameFolderBuilder& folder, const QString& file) {
    basicGame(folder);
    FrameSpec hall;
    hall.background = QString::number(0x00FF00);
    folder.file("Frames/Hall.fme", frameFileBytes(hall));
    HotspotSpec bird;
    bird.pictureKind = 1;
    bird.hasPicture = true;
    bird.pictureFile = file;
    bird.x = 1500 - 30;  // the box lands at pixel (100, 100)
    bird.y = 1500 - 30;
    folder.file("FramesData/Hall.fm2", hotspotFileBytes({bird}));
    return startGame(folder);
  }
};

TEST_F(AnimatedPicturesTest, TransparentPixelsShowTheFrameBehind) {
  GameFolderBuilder folder;
  // Left half red, right half transparent.
  QImage half(16, 12, QImage::Format_ARGB32);
  half.fill(Qt::transparent);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 8; ++x) half.setPixel(x, y, qRgb(255, 0, 0));
  folder.file("Areas/half.gif", gifBytes({half}));
  auto& g = hallWith(folder, "half.gif");
  const int link = g.Area[1].whatsThisHelpId();
  ASSERT_GT(link, 0);
  ASSERT_TRUE(g.AniGifBox[link].visible());
  const QImage pic = g.display().framePicture();
  EXPECT_EQ(pic.pixel(102, 105), qRgb(255, 0, 0));
  EXPECT_EQ(pic.pixel(112, 105), qRgb(0, 255, 0)) << "the box colour must not show through";
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(AnimatedPicturesTest, AFileThatIsNotAPictureIsReportedAndTheGameGoesOn) {
  GameFolderBuilder folder;
  folder.file("Areas/bad.gif", QByteArray("GIF89a but nothing after it"));
  auto& g = hallWith(folder, "bad.gif");
  EXPECT_EQ(messagesContaining(" Unable to load '"), 1u) << allMessages().toStdString();
  EXPECT_EQ(messagesContaining("bad.gif'."), 1u);
  EXPECT_TRUE(allMessages().endsWith("bad.gif'.\n")) << "no description follows";
  EXPECT_EQ(startup::CurrentFrameName(), "Hall");
  EXPECT_EQ(g.Area[1].whatsThisHelpId(), 1) << "the pair is made, empty";
}

TEST_F(AnimatedPicturesTest, AMissingFileMakesAnEmptyPairWithoutAReport) {
  GameFolderBuilder folder;
  auto& g = hallWith(folder, "gone.gif");
  EXPECT_EQ(messagesContaining(" Unable to load '"), 0u);
  EXPECT_EQ(g.Area[1].whatsThisHelpId(), 1);
  EXPECT_TRUE(g.AniGif[1].fileName().isEmpty());
}

TEST_F(AnimatedPicturesTest, SpeedBelowOneMeansFiftyAndAnEmptyNameRemovesThePair) {
  GameFolderBuilder folder;
  folder.picture("Areas/still.png", 8, 8, Qt::blue);
  auto& g = hallWith(folder, "still.png");
  EXPECT_EQ(g.AniGif[1].speed(), 50);
  g.AniGifUpdate(1, folder.path("Areas/still.png"), 80);
  EXPECT_EQ(g.AniGif[1].speed(), 80);
  EXPECT_EQ(g.AniGifNewWithIndex(0, folder.path("Areas/still.png"), 0, 0, 1), 0);
  EXPECT_EQ(g.AniGifNewWithIndex(3, QString(), 0, 0, 1), 0);
  g.AniGifUpdate(1, QString(), 0);
  EXPECT_FALSE(g.AniGif.exists(1));
  EXPECT_FALSE(g.AniGifBox.exists(1));
}

TEST_F(AnimatedPicturesTest, AHotspotVideoThatCannotBePlayedIsReported) {
  GameFolderBuilder folder;
  basicGame(folder);
  folder.file("Frames/Hall.fme", frameFileBytes({}));
  folder.file("Frames/broken.avi", QByteArray(2000, 'x'));
  HotspotSpec tv;
  tv.hasVideo = true;
  tv.videoFile = "broken.avi";
  folder.file("FramesData/Hall.fm2", hotspotFileBytes({tv}));
  auto& g = startGame(folder);
  EXPECT_EQ(messagesContaining(" Unable to load hotspot #1. "), 1u) << allMessages().toStdString();
  EXPECT_EQ(g.Area[1].whatsThisHelpId(), -1) << "the hotspot goes on loading";
}

}  // namespace
}  // namespace qm::testing
