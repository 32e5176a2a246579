// Recording pictures and the mixed sound into video files, read back with ffmpeg.
#include "media/VideoRecorder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QThread>

#include "MediaTestSupport.h"
#include "media/MediaPlayer.h"

namespace qm::media {
namespace {

using testing::ManualCapture;

class VideoRecorderTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ensureApplication(); }

  static QImage solid(QSize size, QColor color) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
  }
  // The picture shown at `seconds` into the recording.
  static QImage pictureAt(const QString& video, double seconds) {
    const QString png = testing::scratchDir() + QStringLiteral("/at.png");
    EXPECT_TRUE(testing::runFfmpeg({"-ss", QString::number(seconds), "-i", video, "-frames:v", "1", png}));
    return QImage(png);
  }
  static QString codecs(const QString& video) {
    QString out;
    // ffmpeg -i without an output lists the streams on stderr and "fails".
    testing::runFfmpeg({"-hide_banner", "-v", "info", "-i", video}, &out);
    return out;
  }
};

TEST_F(VideoRecorderTest, Mp4HoldsThePicturesAndTheMixedSound) {
  const QString path = testing::scratchDir() + QStringLiteral("/two.mp4");
  ManualCapture capture;
  VideoRecorder recorder;
  QString error;
  ASSERT_TRUE(recorder.start(path, QSize(320, 240), 25, &error)) << error.toStdString();
  EXPECT_TRUE(recorder.codecDescription().endsWith("aac")) << recorder.codecDescription().toStdString();
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(testing::makeTone("rec.wav", 440, 3.0)));
  ASSERT_TRUE(player.Play());
  for (int i = 0; i < 50; ++i) {
    recorder.addFrame(solid({320, 240}, i < 25 ? QColor(200, 30, 30) : QColor(30, 30, 200)), i);
    capture.render(0.04);
    // Paced like real time, so that the worker keeps up (on a busy machine
    // some may still be dropped: their slots then show the picture before).
    QThread::msleep(40);
  }
  ASSERT_TRUE(recorder.finish(&error)) << error.toStdString();
  EXPECT_EQ(recorder.framesWritten(), 50);  // a dropped picture's slot shows the one before
  EXPECT_LE(recorder.framesDropped(), 25);

  const QString info = codecs(path);
  EXPECT_TRUE(info.contains("Video: h264") || info.contains("Video: mpeg4")) << info.toStdString();
  EXPECT_TRUE(info.contains("Audio: aac")) << info.toStdString();
  const QColor first = pictureAt(path, 0.5).pixelColor(160, 120);
  const QColor second = pictureAt(path, 1.5).pixelColor(160, 120);
  EXPECT_GT(first.red(), 150);
  EXPECT_LT(first.blue(), 80);
  EXPECT_GT(second.blue(), 150);
  EXPECT_LT(second.red(), 80);

  const QString wav = testing::scratchDir() + QStringLiteral("/two.wav");
  ASSERT_TRUE(testing::runFfmpeg({"-i", path, "-vn", "-c:a", "pcm_s16le", wav}));
  const testing::Wav sound = testing::readWav(wav);
  EXPECT_NEAR(sound.seconds(), 2.0, 0.15);
  EXPECT_GT(sound.toneLevel(440, 0.3, 1.7), 0.1);
}

TEST_F(VideoRecorderTest, MkvAndOddSizes) {
  const QString path = testing::scratchDir() + QStringLiteral("/odd.mkv");
  ManualCapture capture;
  VideoRecorder recorder;
  QString error;
  ASSERT_TRUE(recorder.start(path, QSize(101, 77), 25, &error)) << error.toStdString();
  for (int i = 0; i < 10; ++i) {
    recorder.addFrame(solid({101, 77}, Qt::green), i);
    capture.render(0.04);
    QThread::msleep(5);
  }
  ASSERT_TRUE(recorder.finish(&error)) << error.toStdString();
  const QString info = codecs(path);
  EXPECT_TRUE(info.contains("matroska")) << info.toStdString();
  EXPECT_TRUE(info.contains("102x78")) << "sides padded to even numbers: " << info.toStdString();
}

TEST_F(VideoRecorderTest, AFloodOfPicturesIsDroppedNotQueued) {
  const QString path = testing::scratchDir() + QStringLiteral("/flood.mp4");
  VideoRecorder recorder;
  QString error;
  ASSERT_TRUE(recorder.start(path, QSize(640, 480), 25, &error)) << error.toStdString();
  const QImage picture = solid({640, 480}, Qt::gray);
  constexpr int kOffered = 400;
  for (int i = 0; i < kOffered; ++i) recorder.addFrame(picture, i);
  EXPECT_FALSE(recorder.addFrame(picture, 10));  // slots only rise
  ASSERT_TRUE(recorder.finish(&error)) << error.toStdString();
  EXPECT_GT(recorder.framesDropped(), 0);
  EXPECT_EQ(recorder.framesWritten(), kOffered);  // at a constant rate: every slot is in the file
}

TEST_F(VideoRecorderTest, WaitingForTheEncoderDropsNothing) {
  const QString path = testing::scratchDir() + QStringLiteral("/waits.mp4");
  VideoRecorder recorder;
  QString error;
  ASSERT_TRUE(recorder.start(path, QSize(640, 480), 25, &error, VideoRecorder::Pacing::WaitForEncoder))
      << error.toStdString();
  const QImage picture = solid({640, 480}, Qt::gray);
  for (int i = 0; i < 100; ++i) EXPECT_TRUE(recorder.addFrame(picture, i)) << "slot " << i;
  ASSERT_TRUE(recorder.finish(&error)) << error.toStdString();
  EXPECT_EQ(recorder.framesDropped(), 0);
  EXPECT_EQ(recorder.framesWritten(), 100);
}

TEST_F(VideoRecorderTest, SlotsWithoutAPictureHoldThePictureBefore) {
  const QString path = testing::scratchDir() + QStringLiteral("/held.mkv");
  VideoRecorder recorder;
  QString error;
  ASSERT_TRUE(recorder.start(path, QSize(64, 48), 25, &error, VideoRecorder::Pacing::WaitForEncoder))
      << error.toStdString();
  recorder.addFrame(solid({64, 48}, Qt::red), 0);
  recorder.addFrame(solid({64, 48}, Qt::red), 1);
  recorder.countHeld(8);  // the caller was busy for eight slots
  recorder.addFrame(solid({64, 48}, Qt::blue), 10);
  recorder.addFrame(solid({64, 48}, Qt::blue), 11);
  ASSERT_TRUE(recorder.finish(&error)) << error.toStdString();
  EXPECT_EQ(recorder.framesWritten(), 12);
  EXPECT_EQ(recorder.framesDropped(), 0);
  EXPECT_EQ(recorder.framesHeld(), 8);
  // Every slot is a picture of its own in the file: a constant rate, no gaps.
  const QString frames = testing::scratchDir() + QStringLiteral("/held");
  ASSERT_TRUE(QDir().mkpath(frames));
  ASSERT_TRUE(testing::runFfmpeg({"-i", path, "-fps_mode", "passthrough", frames + QStringLiteral("/f%03d.png")}));
  const QStringList pngs = QDir(frames).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
  ASSERT_EQ(pngs.size(), 12);
  for (int i = 0; i < 12; ++i) {
    const QColor c = QImage(frames + '/' + pngs[i]).pixelColor(32, 24);
    if (i < 10) EXPECT_GT(c.red(), 150) << "slot " << i;
    else EXPECT_GT(c.blue(), 150) << "slot " << i;
  }
}

TEST_F(VideoRecorderTest, BadOutputsAreRefusedWithAReason) {
  VideoRecorder recorder;
  QString error;
  EXPECT_FALSE(recorder.start(testing::scratchDir() + QStringLiteral("/noext"), QSize(64, 64), 25, &error));
  EXPECT_FALSE(error.isEmpty());
  error.clear();
  EXPECT_FALSE(recorder.start(testing::scratchDir() + QStringLiteral("/no/such/folder/x.mp4"), QSize(64, 64), 25, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(recorder.start(testing::scratchDir() + QStringLiteral("/big.mp4"), QSize(100000, 64), 25, &error));
  EXPECT_FALSE(recorder.addFrame(solid({64, 64}, Qt::red), 0));  // not recording
  EXPECT_TRUE(recorder.finish(&error));
  EXPECT_FALSE(QFileInfo::exists(testing::scratchDir() + QStringLiteral("/big.mp4")));
}

}  // namespace
}  // namespace qm::media
