// The one-time video: played once over the frame picture, ended by its own end
// or removed at once; a file that cannot play is reported and the game goes on.
#include <gtest/gtest.h>

#include <QProcess>

#include "GameFixture.h"
#include "media/AudioMixer.h"
#include "media/VirtualClockMixing.h"
#include "platform/Clock.h"
#include "platform/GameTimer.h"

namespace qm::testing {
namespace {

class OneTimeVideoTest : public GameFixture {
 protected:
  engine::Game& start(GameFolderBuilder& folder) {
    GeneralFields g;
    g.initialFrame = "Hall";
    g.width = 200;
    g.height = 100;
    folder.general(g);
    frame(folder, "Hall", FrameSpec{});
    return startGame(folder);
  }
  static bool ffmpeg(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), QStringList{"-v", "error", "-y", "-nostdin"} + args);
    return p.waitForFinished(30000) && p.exitCode() == 0;
  }
  // Frames/intro.avi: half a second of 40 x 30 pictures with sound.
  static bool halfSecondVideo(GameFolderBuilder& folder) {
    return ffmpeg({"-f", "lavfi", "-i", "testsrc=s=40x30:r=10:d=0.5", "-f", "lavfi", "-i",
                   "sine=frequency=500:duration=0.5", "-c:v", "mjpeg", "-shortest", "-f", "avi",
                   folder.path("Frames/intro.avi")});
  }
  static bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
  }
};

TEST_F(OneTimeVideoTest, PlaysOnceAtItsNaturalSizeAndEnds) {
  GameFolderBuilder folder;
  ASSERT_TRUE(halfSecondVideo(folder));
  auto& g = start(folder);
  g.video().PlayMovieWithStop("INTRO.AVI", false, 10, 20, 0, 0);
  auto* p = g.OneTimeVideoPlayer;
  EXPECT_EQ(boxCount(), 0u) << (boxCount() ? dialogs().last().text.toStdString() : "");
  EXPECT_TRUE(p->isVisible() || !p->isHidden());
  EXPECT_EQ(p->left(), 150);
  EXPECT_EQ(p->top(), 300);
  EXPECT_EQ(p->width(), 40 * 15);
  EXPECT_EQ(p->volume(), -1200);
  EXPECT_FALSE(g.video().starting());
  EXPECT_TRUE(waitFor([&] { return g.video().OneTimeVideoPlaying(); }, 2000));
  EXPECT_TRUE(waitFor([&] { return !g.video().OneTimeVideoPlaying(); }, 5000)) << "never ended";
  g.video().StopOneTimeVideoPlayer();
  EXPECT_TRUE(p->isHidden());
  EXPECT_TRUE(p->fileName().isEmpty());
}

TEST_F(OneTimeVideoTest, StretchedAndStoppedEarly) {
  GameFolderBuilder folder;
  ASSERT_TRUE(ffmpeg({"-f", "lavfi", "-i", "sine=frequency=500:duration=3", "-f", "wav",
                      folder.path("Frames/long.wav")}));
  auto& g = start(folder);
  g.video().PlayMovieWithStop("long.wav", true, 0, 0, 50, 40);
  EXPECT_EQ(g.OneTimeVideoPlayer->width(), 750);
  EXPECT_EQ(g.OneTimeVideoPlayer->height(), 600);
  ASSERT_TRUE(waitFor([&] { return g.video().OneTimeVideoPlaying(); }, 2000));
  g.video().StopOneTimeVideoPlayer();
  EXPECT_FALSE(g.video().OneTimeVideoPlaying());
  EXPECT_TRUE(g.OneTimeVideoPlayer->isHidden());
}

// On the virtual clock (walkthroughs at machine speed) the wait for the video
// takes the video's own length of game time and next to no real time.
class VirtualOneTimeVideoTest : public OneTimeVideoTest {
 protected:
  void SetUp() override {
    OneTimeVideoTest::SetUp();
    platform::Clock::instance().useVirtualTime();
    media::mixOnVirtualClock();
  }
  void TearDown() override {
    OneTimeVideoTest::TearDown();
    platform::Clock::instance().useRealTimeForTests();
    media::AudioMixer::instance().setManualClock(false);
  }
  static qint64 nowMs() { return platform::Clock::instance().msecs(); }
};

TEST_F(VirtualOneTimeVideoTest, TheWaitLastsTheVideoInGameTime) {
  GameFolderBuilder folder;
  ASSERT_TRUE(halfSecondVideo(folder));
  auto& g = start(folder);
  g.video().PlayMovieWithStop("intro.avi", false, 0, 0, 0, 0);
  ASSERT_TRUE(g.video().OneTimeVideoPlaying());
  const qint64 from = nowMs();
  QElapsedTimer real;
  real.start();
  g.video().WaitForOneTimeVideo();
  EXPECT_FALSE(g.video().OneTimeVideoPlaying());
  // Half a second of pictures and sound (with the sound encoder's own padding),
  // its end noticed at the player's next look.
  EXPECT_GE(nowMs() - from, 490);
  EXPECT_LE(nowMs() - from, 700);
  EXPECT_LT(real.elapsed(), 400);
}

TEST_F(VirtualOneTimeVideoTest, StopMovieEndsTheWaitAtOnce) {
  GameFolderBuilder folder;
  ASSERT_TRUE(ffmpeg({"-f", "lavfi", "-i", "sine=frequency=500:duration=3", "-f", "wav",
                      folder.path("Frames/long.wav")}));
  auto& g = start(folder);
  g.video().PlayMovieWithStop("long.wav", false, 0, 0, 0, 0);
  platform::GameTimer stop;
  stop.setSingleShot(true);
  QObject::connect(&stop, &platform::GameTimer::timeout, [&g] { g.state().StopMovie = true; });
  stop.start(250);
  const qint64 from = nowMs();
  g.video().WaitForOneTimeVideo();
  EXPECT_EQ(nowMs() - from, 250);
  EXPECT_TRUE(g.video().OneTimeVideoPlaying());  // the caller takes it away
}

TEST_F(OneTimeVideoTest, UnplayableFileIsReportedOnce) {
  GameFolderBuilder folder;
  folder.file("Frames/bad.avi", QByteArray(2000, 'z'));
  auto& g = start(folder);
  g.video().PlayMovieWithStop("bad.avi", false, 0, 0, 0, 0);
  EXPECT_EQ(messagesContaining("Error while attempting to play the following video file: \"bad.avi\". "), 1u);
  EXPECT_FALSE(g.video().OneTimeVideoPlaying());
}

}  // namespace
}  // namespace qm::testing
