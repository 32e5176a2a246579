// The media player control of the game window drives the media layer's player.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <memory>

#include "engine/controls/MediaLayerBackend.h"
#include "engine/controls/MediaPlayerControl.h"
#include "media/MediaControlBar.h"
#include "media/MediaPlayer.h"
#include "support/ProjectTest.h"

namespace qm::engine {
namespace {

class MediaPlayerControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ensureQtApplication();
    hostWidget = std::make_unique<QWidget>();
    host = hostWidget.get();
  }
  QTemporaryDir dir;
  std::unique_ptr<QWidget> hostWidget;
  QWidget* host = nullptr;

  QString make(const QString& name, const QStringList& input) {
    const QString path = dir.filePath(name);
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), QStringList{"-v", "error", "-y", "-nostdin"} + input + QStringList{path});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return path;
  }
  static bool pumpUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
  }
  static media::MediaPlayer* layer(MediaPlayerControl& c) {
    auto* b = dynamic_cast<MediaLayerBackend*>(c.backend());
    return b ? b->player() : nullptr;
  }
};

TEST_F(MediaPlayerControlTest, PropertiesSetBeforeTheFileReachThePlayer) {
  ASSERT_TRUE(dir.isValid());
  const QString wav = make("a.wav", {"-f", "lavfi", "-i", "sine=frequency=300:duration=0.3", "-f", "wav"});
  ASSERT_FALSE(wav.isEmpty());
  MediaPlayerControl c("MPlayer", 1, host);
  EXPECT_EQ(c.backend(), nullptr);  // nothing is made before there is something to play
  c.setVolume(-15000);              // clamped
  c.setPlayCount(3);
  c.setFileName(wav);
  media::MediaPlayer* p = layer(c);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->FileName(), wav);
  EXPECT_EQ(p->Volume(), -10000);
  EXPECT_EQ(p->PlayCount(), 3);
  c.setVolume(-600);
  EXPECT_EQ(p->Volume(), -600);
  EXPECT_EQ(c.playState(), 0);  // loading never starts playing
}

TEST_F(MediaPlayerControlTest, PlayStopAndResumeFromTheSamePosition) {
  const QString wav = make("b.wav", {"-f", "lavfi", "-i", "sine=frequency=300:duration=2", "-f", "wav"});
  ASSERT_FALSE(wav.isEmpty());
  MediaPlayerControl c("MPlayer", 1, host);
  c.setFileName(wav);
  c.play();
  ASSERT_TRUE(pumpUntil([&] { return c.playState() == 2 && c.currentPosition() > 0.2; }, 3000));
  c.stop();
  EXPECT_EQ(c.playState(), 0);
  const double at = c.currentPosition();
  EXPECT_GT(at, 0.1);
  c.setCurrentPosition(0);
  EXPECT_LT(c.currentPosition(), at);
  c.play();
  EXPECT_TRUE(pumpUntil([&] { return c.playState() == 2; }, 3000));
  c.stop();
}

TEST_F(MediaPlayerControlTest, AutoSizeTakesTheVideoSizeAndTheBarWhenShown) {
  const QString video = make("v.avi", {"-f", "lavfi", "-i", "testsrc=s=64x48:r=10:d=0.5", "-c:v", "mjpeg", "-f", "avi"});
  ASSERT_FALSE(video.isEmpty());
  MediaPlayerControl c("VideoPlayer", 1, host);
  c.setAutoSize(true);
  c.setFileName(video);
  EXPECT_EQ(c.width(), 64 * 15);
  EXPECT_EQ(c.height(), 48 * 15);
  ASSERT_NE(layer(c), nullptr);
  EXPECT_EQ(layer(c)->size(), QSize(64, 48));
  c.setShowControls(true);
  EXPECT_EQ(c.height(), (48 + media::MediaControlBar::kHeight) * 15);

  MediaPlayerControl fixed("VideoPlayer", 2, host);
  fixed.move(0, 0, 1500, 1500);
  fixed.setFileName(video);
  EXPECT_EQ(fixed.width(), 1500);
  EXPECT_EQ(layer(fixed)->size(), QSize(100, 100));  // stretched to the control
}

TEST_F(MediaPlayerControlTest, BadFileIsReportedAndPlayDoesNothing) {
  QFile f(dir.filePath("junk.wav"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray(3000, '\x7f'));
  f.close();
  MediaPlayerControl c("MPlayer", 1, host);
  c.setFileName(f.fileName());
  EXPECT_FALSE(c.errorString().isEmpty());
  c.play();
  pumpUntil([] { return false; }, 100);
  EXPECT_EQ(c.playState(), 0);
  c.setFileName(dir.filePath("missing.wav"));
  EXPECT_FALSE(c.errorString().isEmpty());
  EXPECT_EQ(c.playState(), 0);
}

}  // namespace
}  // namespace qm::engine
