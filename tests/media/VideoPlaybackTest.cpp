// Videos: natural size and AutoSize, the control bar, and pictures that follow the
// sound clock (also without sound, and across repeats).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include "MediaTestSupport.h"
#include "media/MediaPlayer.h"

namespace qm::media {
namespace {

using testing::ManualCapture;

// Half a second of red, then half a second of blue; with or without a tone.
QString redThenBlue(bool withSound) {
  const QString path = testing::scratchDir() + (withSound ? "/redblue-sound.223" : "/redblue-silent.223");
  if (QFileInfo::exists(path)) return path;
  QStringList args = {"-f", "lavfi", "-i", "color=c=red:size=160x120:rate=25:duration=0.5",
                      "-f", "lavfi", "-i", "color=c=blue:size=160x120:rate=25:duration=0.5"};
  if (withSound) args += {"-f", "lavfi", "-i", "sine=frequency=440:duration=1"};
  args += {"-filter_complex", "[0][1]concat=n=2:v=1:a=0[v]", "-map", "[v]"};
  if (withSound) args += {"-map", "2:a", "-c:a", "mp2"};
  args += {"-c:v", "mpeg1video", "-q:v", "2", "-f", withSound ? "mpeg" : "mpeg1video", path};
  EXPECT_TRUE(testing::runFfmpeg(args));
  return path;
}

void letTheWindowRun(int ms = 40) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(2);
  }
}

// Red or blue, judged from the picture's centre.
char colourOf(const QImage& image) {
  if (image.isNull()) return '?';
  const QColor c = image.pixelColor(image.width() / 2, image.height() / 2);
  if (c.red() > 180 && c.blue() < 80) return 'r';
  if (c.blue() > 180 && c.red() < 80) return 'b';
  return '?';
}

class VideoTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ensureApplication(); }
};

TEST_F(VideoTest, AutoSizeTakesTheNaturalSize) {
  MediaPlayer player;
  player.resize(50, 40);
  ASSERT_TRUE(player.AutoSize());
  ASSERT_TRUE(player.setFileName(redThenBlue(true)));
  EXPECT_TRUE(player.hasVideo());
  EXPECT_EQ(player.naturalSize(), QSize(160, 120));
  EXPECT_EQ(player.size(), QSize(160, 120));
}

TEST_F(VideoTest, WithoutAutoSizeTheGivenSizeStays) {
  MediaPlayer player;
  player.setAutoSize(false);
  player.resize(320, 200);
  ASSERT_TRUE(player.setFileName(redThenBlue(true)));
  EXPECT_EQ(player.size(), QSize(320, 200));
}

TEST_F(VideoTest, NoControlBarUnlessAsked) {
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(redThenBlue(true)));
  EXPECT_FALSE(player.ShowControls());
  EXPECT_TRUE(player.findChildren<QWidget*>().isEmpty());
  player.setShowControls(true);
  ASSERT_EQ(player.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
  EXPECT_GT(player.height(), 120);  // natural size plus the bar
  player.setShowControls(false);
  EXPECT_EQ(player.size(), QSize(160, 120));
}

TEST_F(VideoTest, PicturesFollowTheSound) {
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(redThenBlue(true)));
  player.Play();
  capture.render(0.25);
  letTheWindowRun();
  EXPECT_EQ(colourOf(player.currentPicture()), 'r');
  capture.render(0.5);
  letTheWindowRun();
  EXPECT_EQ(colourOf(player.currentPicture()), 'b');
  player.Stop();
}

TEST_F(VideoTest, SilentVideoRunsOnTheClockAndEnds) {
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(redThenBlue(false)));
  player.Play();
  capture.render(0.25);
  letTheWindowRun();
  EXPECT_EQ(colourOf(player.currentPicture()), 'r');
  const double rest = capture.renderWhile([&] { return player.PlayState() == 2; }, 3.0);
  EXPECT_NEAR(0.25 + rest, 1.0, 0.1);  // a raw stream's own timestamps are this rough
  letTheWindowRun();
  EXPECT_EQ(colourOf(player.currentPicture()), 'b');
}

TEST_F(VideoTest, RepeatedVideoStartsOverWithItsFirstPictures) {
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(redThenBlue(true)));
  player.setPlayCount(0);
  player.Play();
  capture.render(0.75);
  letTheWindowRun();
  EXPECT_EQ(colourOf(player.currentPicture()), 'b');
  capture.render(0.5);  // 1.25 s: a quarter into the second run
  letTheWindowRun();
  EXPECT_EQ(colourOf(player.currentPicture()), 'r');
  EXPECT_EQ(player.PlayState(), 2);
  player.Stop();
}

TEST_F(VideoTest, RewindShowsTheFirstPicturesAgain) {
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(redThenBlue(true)));
  player.Play();
  capture.render(0.75);
  letTheWindowRun();
  ASSERT_EQ(colourOf(player.currentPicture()), 'b');
  player.setCurrentPosition(0);
  capture.render(0.1);
  letTheWindowRun();
  EXPECT_EQ(colourOf(player.currentPicture()), 'r');
  player.Stop();
}

TEST_F(VideoTest, FirstPictureShowsBeforePlay) {
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(redThenBlue(true)));
  letTheWindowRun(150);
  EXPECT_EQ(colourOf(player.currentPicture()), 'r');
  EXPECT_EQ(player.PlayState(), 0);
}

TEST_F(VideoTest, SeekingWhileStoppedShowsThePictureThere) {
  testing::ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(redThenBlue(true)));
  player.setCurrentPosition(0.75);
  letTheWindowRun(150);
  EXPECT_EQ(colourOf(player.currentPicture()), 'b');
}

TEST_F(VideoTest, StretchedPictureFillsTheControl) {
  ManualCapture capture;
  MediaPlayer player;
  player.setAutoSize(false);
  player.resize(320, 240);
  ASSERT_TRUE(player.setFileName(redThenBlue(true)));
  player.show();
  player.Play();
  capture.render(0.2);
  letTheWindowRun();
  const QImage shot = player.grab().toImage();
  ASSERT_EQ(shot.size(), QSize(320, 240));
  EXPECT_EQ(colourOf(shot.copy(0, 0, 40, 40)), 'r');
  EXPECT_EQ(colourOf(shot.copy(280, 200, 40, 40)), 'r');
  player.Stop();
}

}  // namespace
}  // namespace qm::media
