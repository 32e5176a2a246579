// The animated-picture control: size, frames, the speed number, transparency, the
// still first image, restarting, and bad files.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "MediaTestSupport.h"
#include "media/AnimatedPicture.h"

namespace qm::media {
namespace {

// 16×12: red (with a transparent 4×4 corner), green, blue; 100 ms each.
const QString kThreeFrames = QStringLiteral(QM_SOURCE_DIR "/tests/media/data/three-frames.gif");
// Two frames stored with no delay.
const QString kZeroDelay = QStringLiteral(QM_SOURCE_DIR "/tests/media/data/zero-delay.gif");

class AnimatedPictureTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ensureApplication(); }

  static int framesShownWithin(AnimatedPicture& gif, int ms) {
    int changes = 0;
    auto c = QObject::connect(&gif, &AnimatedPicture::frameChanged, [&] { ++changes; });
    gif.start();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      QThread::msleep(1);
    }
    gif.stop();
    QObject::disconnect(c);
    return changes;
  }
};

TEST_F(AnimatedPictureTest, LoadsWithItsNaturalSizeAndFrames) {
  AnimatedPicture gif;
  ASSERT_TRUE(gif.setFileName(kThreeFrames)) << gif.errorString().toStdString();
  EXPECT_EQ(gif.naturalSize(), QSize(16, 12));
  EXPECT_EQ(gif.size(), QSize(16, 12));
  EXPECT_EQ(gif.frameCount(), 3);
  EXPECT_FALSE(gif.isRunning());  // loading does not start it
}

TEST_F(AnimatedPictureTest, StillImageIsTheFirstFrameWithItsTransparency) {
  AnimatedPicture gif;
  ASSERT_TRUE(gif.setFileName(kThreeFrames));
  const QImage still = gif.stillImage();
  EXPECT_EQ(qAlpha(still.pixel(1, 1)), 0);
  EXPECT_EQ(QColor(still.pixel(10, 8)), QColor(Qt::red));
}

TEST_F(AnimatedPictureTest, TransparentPixelsShowWhatLiesBeneath) {
  QWidget parent;
  parent.resize(40, 40);
  parent.setAutoFillBackground(true);
  QPalette pal;
  pal.setColor(QPalette::Window, Qt::yellow);
  parent.setPalette(pal);
  auto* gif = new AnimatedPicture(&parent);
  ASSERT_TRUE(gif->setFileName(kThreeFrames));
  gif->move(10, 10);
  parent.show();
  const QImage shot = parent.grab().toImage();
  EXPECT_EQ(shot.pixelColor(11, 11), QColor(Qt::yellow));
  EXPECT_EQ(shot.pixelColor(20, 18), QColor(Qt::red));
}

TEST_F(AnimatedPictureTest, SpeedFiftyKeepsTheStoredDelays) {
  AnimatedPicture gif;
  ASSERT_TRUE(gif.setFileName(kThreeFrames));
  EXPECT_EQ(gif.Speed(), 50);
  EXPECT_EQ(gif.currentStoredDelayMs(), 100);
  EXPECT_EQ(gif.currentDelayMs(), 100);
  gif.setSpeed(100);
  EXPECT_EQ(gif.currentDelayMs(), 50);
  gif.setSpeed(25);
  EXPECT_EQ(gif.currentDelayMs(), 200);
}

TEST_F(AnimatedPictureTest, SpeedBelowOneMeansFifty) {
  AnimatedPicture gif;
  gif.setSpeed(0);
  EXPECT_EQ(gif.Speed(), 50);
  gif.setSpeed(-3);
  EXPECT_EQ(gif.Speed(), 50);
}

TEST_F(AnimatedPictureTest, FramesWithoutADelayGetATenthOfASecond) {
  AnimatedPicture gif;
  ASSERT_TRUE(gif.setFileName(kZeroDelay));
  EXPECT_EQ(gif.currentDelayMs(), 100);
}

TEST_F(AnimatedPictureTest, FrameTimingFollowsTheSpeed) {
  AnimatedPicture gif;
  ASSERT_TRUE(gif.setFileName(kThreeFrames));
  gif.setSpeed(50);
  const int normal = framesShownWithin(gif, 650);  // about 6 changes at 100 ms
  gif.setSpeed(100);
  const int fast = framesShownWithin(gif, 650);    // about 13 at 50 ms
  EXPECT_GE(normal, 4);
  EXPECT_LE(normal, 7);
  EXPECT_GE(fast, 9);
  EXPECT_LE(fast, 14);
}

TEST_F(AnimatedPictureTest, LoopsAndStartsAgainFromTheFirstImage) {
  AnimatedPicture gif;
  ASSERT_TRUE(gif.setFileName(kThreeFrames));
  gif.setSpeed(500);  // 10 ms a frame
  QList<int> seen;
  QObject::connect(&gif, &AnimatedPicture::frameChanged, [&](int f) { seen.append(f); });
  gif.start();
  QElapsedTimer t;
  t.start();
  while (seen.size() < 5 && t.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  gif.stop();
  ASSERT_GE(seen.size(), 5);
  EXPECT_EQ(seen.mid(0, 5), (QList<int>{1, 2, 0, 1, 2}));
  const int stoppedAt = gif.currentFrame();
  QThread::msleep(30);
  QCoreApplication::processEvents();
  EXPECT_EQ(gif.currentFrame(), stoppedAt);  // stopped means stopped
  if (stoppedAt != 0) {
    gif.start();
    EXPECT_EQ(gif.currentFrame(), 0);
    EXPECT_EQ(QColor(gif.currentImage().pixel(10, 8)), QColor(Qt::red));
    gif.stop();
  }
}

TEST_F(AnimatedPictureTest, MissingOrBrokenFilesLeaveItEmpty) {
  AnimatedPicture gif;
  EXPECT_FALSE(gif.setFileName(testing::scratchDir() + "/missing.gif"));
  EXPECT_FALSE(gif.errorString().isEmpty());
  EXPECT_TRUE(gif.stillImage().isNull());
  EXPECT_FALSE(gif.setFileName(testing::writeFile("broken.gif", "GIF89a\x10\x00garbage")));
  EXPECT_TRUE(gif.stillImage().isNull());
  gif.start();
  EXPECT_FALSE(gif.isRunning());
  ASSERT_TRUE(gif.setFileName(kThreeFrames));
  EXPECT_TRUE(gif.setFileName(QString()));
  EXPECT_TRUE(gif.stillImage().isNull());
}

}  // namespace
}  // namespace qm::media
