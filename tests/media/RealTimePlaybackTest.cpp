// Playing in real time without a sound card (the dummy SDL driver, or no driver at
// all): the state and the end of a sound follow the clock as they would with a card.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "MediaTestSupport.h"
#include "media/AudioMixer.h"
#include "media/MediaPlayer.h"

namespace qm::media {
namespace {

class RealTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ensureApplication();
    AudioMixer::instance().setManualClock(false);
  }
  void TearDown() override { AudioMixer::instance().setManualClock(true); }

  // Seconds until the player stops playing, letting the window run meanwhile.
  static double secondsUntilIdle(MediaPlayer& player, double limit) {
    QElapsedTimer t;
    t.start();
    while (player.PlayState() == 2 && t.elapsed() < limit * 1000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      QThread::msleep(2);
    }
    return t.elapsed() / 1000.0;
  }
};

TEST_F(RealTimeTest, OncePlayedSoundEndsInTime) {
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(testing::makeTone("realtime.wav", 440, 0.4)));
  int ended = 0;
  QObject::connect(&player, &MediaPlayer::ended, [&] { ++ended; });
  ASSERT_TRUE(player.Play());
  EXPECT_EQ(player.PlayState(), 2);
  const double took = secondsUntilIdle(player, 5.0);
  EXPECT_GT(took, 0.3);
  EXPECT_LT(took, 1.2);
  QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  QThread::msleep(60);
  QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(ended, 1);
}

TEST_F(RealTimeTest, PositionAdvancesWithTheClockAndLoopsKeepPlaying) {
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(testing::makeTone("realtime-loop.wav", 440, 0.25)));
  player.setPlayCount(0);
  player.Play();
  QThread::msleep(600);
  EXPECT_EQ(player.PlayState(), 2);
  EXPECT_GT(player.CurrentPosition(), 0.0);
  EXPECT_LT(player.CurrentPosition(), 0.25);
  player.Stop();
  EXPECT_EQ(player.PlayState(), 0);
}

TEST_F(RealTimeTest, WithoutAnyAudioDriverTheClockStillRuns) {
  const QByteArray saved = qgetenv("SDL_AUDIODRIVER");
  qputenv("SDL_AUDIODRIVER", "no-such-driver");
  AudioMixer::instance().setManualClock(true);  // closes the output, so the next play opens a new one
  AudioMixer::instance().setManualClock(false);
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(testing::makeTone("no-device.wav", 440, 0.3)));
  player.Play();
  EXPECT_NE(AudioMixer::instance().outputDescription().find("clock"), std::string::npos);
  const double took = secondsUntilIdle(player, 5.0);
  EXPECT_GT(took, 0.2);
  EXPECT_LT(took, 1.0);
  qputenv("SDL_AUDIODRIVER", saved);
  AudioMixer::instance().setManualClock(true);
}

}  // namespace
}  // namespace qm::media
