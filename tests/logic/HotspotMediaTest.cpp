// Hotspots that animate or play: the animated picture and the video player of
// a hotspot are driven by the media layer, so they change over time and end.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <functional>

#include "LogicGameFixture.h"

namespace qm::testing {
namespace {

class HotspotMediaTest : public LogicGameFixture {
 protected:
  // Runs ffmpeg quietly; false when it is missing or fails.
  static bool ffmpeg(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), QStringList{"-v", "error", "-y", "-nostdin"} + args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  }

  // Lets window events run until done() or the time is up; the result of done().
  static bool pumpUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
  }

  static bool reddish(const QImage& img) {
    const QColor c = img.pixelColor(img.width() / 2, img.height() / 2);
    return c.red() > 150 && c.blue() < 100;
  }
  static bool blueish(const QImage& img) {
    const QColor c = img.pixelColor(img.width() / 2, img.height() / 2);
    return c.blue() > 150 && c.red() < 100;
  }
};

TEST_F(HotspotMediaTest, AnimatedHotspotShowsItsImagesInTurn) {
  GameFolderBuilder folder;
  basicGame(folder);
  // Two images of 100 ms each: red, then blue.
  ASSERT_TRUE(ffmpeg({"-f", "lavfi", "-i", "color=c=red:s=16x12:r=10:d=0.1", "-f", "lavfi", "-i",
                      "color=c=blue:s=16x12:r=10:d=0.1", "-filter_complex", "[0][1]concat=n=2:v=1", "-loop", "0",
                      "-f", "gif", folder.path("Areas/bird.gif")}));
  HotspotSpec a;
  a.pictureKind = 1; a.hasPicture = true; a.pictureFile = "bird.gif"; a.x = 600; a.y = 900;
  frame(folder, "Hall", {a});
  auto& g = startGame(folder);
  const int link = g.Area[1].whatsThisHelpId();
  ASSERT_GT(link, 0);
  ASSERT_TRUE(g.AniGif.exists(link));
  auto& gif = g.AniGif[link];
  EXPECT_EQ(gif.frameCount(), 2);
  EXPECT_TRUE(gif.playing());
  EXPECT_TRUE(gif.isVisibleTo(&g.AniGifBox[link]));
  EXPECT_EQ(g.AniGifBox[link].width(), 16 * 15);
  EXPECT_EQ(g.AniGifBox[link].height(), 12 * 15);
  EXPECT_TRUE(reddish(gif.stillImage()));

  bool sawRed = false, sawBlue = false;
  pumpUntil([&] {
    sawRed = sawRed || reddish(gif.image());
    sawBlue = sawBlue || blueish(gif.image());
    return sawRed && sawBlue;
  }, 3000);
  EXPECT_TRUE(sawRed);
  EXPECT_TRUE(sawBlue) << "the second image never came";
  // And round again to the first.
  ASSERT_TRUE(pumpUntil([&] { return reddish(gif.image()); }, 3000));

  // Hidden by the rules, the animation stops and the image stays.
  gif.stop();
  const QImage held = gif.image();
  pumpUntil([] { return false; }, 300);
  EXPECT_EQ(gif.image(), held);
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
}

TEST_F(HotspotMediaTest, BrokenAnimatedPictureLeavesAnEmptyBoxAndTheGameGoesOn) {
  GameFolderBuilder folder;
  basicGame(folder);
  folder.file("Areas/bad.gif", QByteArray("GIF89a this is not a picture"));
  HotspotSpec a;
  a.pictureKind = 1; a.hasPicture = true; a.pictureFile = "bad.gif";
  frame(folder, "Hall", {a});
  auto& g = startGame(folder);
  const int link = g.Area[1].whatsThisHelpId();
  ASSERT_GT(link, 0);
  EXPECT_FALSE(g.AniGif[link].hasPicture());
  EXPECT_EQ(g.AniGif[link].frameCount(), 0);
  pumpUntil([] { return false; }, 200);
}

TEST_F(HotspotMediaTest, VideoHotspotWithASoundPlaysAndEnds) {
  GameFolderBuilder folder;
  basicGame(folder);
  ASSERT_TRUE(ffmpeg({"-f", "lavfi", "-i", "sine=frequency=440:duration=0.4", "-ac", "1", "-ar", "22050",
                      "-f", "wav", folder.path("Frames/beep.wav")}));
  HotspotSpec v;
  v.x = 300; v.y = 300; v.w = 1500; v.h = 900;
  v.hasVideo = true; v.videoFile = "beep.wav"; v.videoSize = 1; v.videoPlayCount = 1;
  frame(folder, "Hall", {v});
  auto& g = startGame(folder);
  ASSERT_TRUE(g.VideoPlayer.exists(1));
  auto& player = g.VideoPlayer[1];
  EXPECT_TRUE(player.visible());
  EXPECT_TRUE(player.errorString().isEmpty()) << player.errorString().toStdString();
  EXPECT_TRUE(QFileInfo(player.fileName()).isFile());
  ASSERT_TRUE(pumpUntil([&] { return player.playState() == 2; }, 3000)) << "never started";
  EXPECT_TRUE(pumpUntil([&] { return player.playState() == 0; }, 5000)) << "never ended";
  EXPECT_GT(player.currentPosition(), 0.3);
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
}

TEST_F(HotspotMediaTest, UnplayableVideoStaysStoppedWithAReason) {
  GameFolderBuilder folder;
  basicGame(folder);
  folder.file("Frames/junk.avi", QByteArray(4000, 'x'));
  HotspotSpec v;
  v.hasVideo = true; v.videoFile = "junk.avi";
  frame(folder, "Hall", {v});
  auto& g = startGame(folder);
  auto& player = g.VideoPlayer[1];
  EXPECT_FALSE(player.errorString().isEmpty());
  pumpUntil([] { return false; }, 200);
  EXPECT_EQ(player.playState(), 0);
}

}  // namespace
}  // namespace qm::testing
