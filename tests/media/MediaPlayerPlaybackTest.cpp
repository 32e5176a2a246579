// Playing sounds through the mixer on its manual clock: play counts, volume, stop,
// rewinding, rate and several players at once, judged from the captured sound.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <cmath>

#include "MediaTestSupport.h"
#include "media/MediaPlayer.h"

namespace qm::media {
namespace {

using testing::ManualCapture;
using testing::makeTone;

class PlaybackTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ensureApplication(); }
};

TEST_F(PlaybackTest, LoadingDoesNotStartPlayback) {
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(makeTone("idle.wav", 440, 0.5)));
  capture.render(0.3);
  EXPECT_EQ(player.PlayState(), 0);
  EXPECT_LT(capture.finish().peak(0, 0.3), 1e-6);
}

TEST_F(PlaybackTest, PlayCountOnePlaysOnceThenGoesIdle) {
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(makeTone("once.wav", 440, 0.5)));
  player.setPlayCount(1);
  ASSERT_TRUE(player.Play());
  EXPECT_EQ(player.PlayState(), 2);
  const double played = capture.renderWhile([&] { return player.PlayState() == 2; }, 5.0);
  EXPECT_NEAR(played, 0.5, 0.02);
  capture.render(0.3);
  const auto wav = capture.finish();
  EXPECT_NEAR(wav.lastSoundAt(), 0.5, 0.01);
  EXPECT_NEAR(wav.rms(0.05, 0.45), 0.5 / std::sqrt(2.0), 0.01);
}

TEST_F(PlaybackTest, PlayCountNPlaysNTimes) {
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(makeTone("thrice.wav", 440, 0.25)));
  player.setPlayCount(3);
  player.Play();
  const double played = capture.renderWhile([&] { return player.PlayState() == 2; }, 5.0);
  EXPECT_NEAR(played, 0.75, 0.02);
  const auto wav = capture.finish();
  // No gaps between the runs.
  for (double t = 0.0; t < 0.7; t += 0.05) EXPECT_GT(wav.rms(t, t + 0.05), 0.3) << "at " << t;
}

TEST_F(PlaybackTest, PlayCountZeroRepeatsWithoutEnd) {
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(makeTone("loop.wav", 440, 0.2)));
  player.setPlayCount(0);
  player.Play();
  capture.render(2.0);
  EXPECT_EQ(player.PlayState(), 2);
  player.Stop();
  const auto wav = capture.finish();
  for (double t = 0.0; t < 1.95; t += 0.1) EXPECT_GT(wav.rms(t, t + 0.1), 0.3) << "at " << t;
}

TEST_F(PlaybackTest, VolumeLowersTheLevelByTheGivenDecibels) {
  const QString tone = makeTone("level.wav", 440, 1.0);
  double levels[3];
  const int volumes[3] = {0, -600, -2000};
  for (int i = 0; i < 3; ++i) {
    ManualCapture capture;
    MediaPlayer player;
    ASSERT_TRUE(player.setFileName(tone));
    player.setVolume(volumes[i]);
    player.Play();
    capture.render(0.5);
    player.Stop();
    levels[i] = capture.finish().rms(0.1, 0.5);
  }
  EXPECT_NEAR(20 * std::log10(levels[1] / levels[0]), -6.0, 0.1);
  EXPECT_NEAR(20 * std::log10(levels[2] / levels[0]), -20.0, 0.1);
}

TEST_F(PlaybackTest, VolumeChangesWhilePlayingTakeEffectAtOnce) {
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(makeTone("fade.wav", 440, 2.0)));
  player.Play();
  capture.render(0.5);
  player.setVolume(-4000);  // the quietest the games use
  capture.render(0.5);
  player.Stop();
  const auto wav = capture.finish();
  EXPECT_NEAR(20 * std::log10(wav.rms(0.6, 1.0) / wav.rms(0.1, 0.5)), -40.0, 0.2);
}

TEST_F(PlaybackTest, StopSilencesAtOnceAndPlayResumes) {
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(makeTone("stop.wav", 440, 2.0)));
  player.Play();
  capture.render(0.3);
  player.Stop();
  EXPECT_EQ(player.PlayState(), 0);
  const double stoppedAt = player.CurrentPosition();
  capture.render(0.3);
  EXPECT_DOUBLE_EQ(player.CurrentPosition(), stoppedAt);
  player.Play();
  capture.render(0.3);
  player.Stop();
  const auto wav = capture.finish();
  EXPECT_LT(wav.peak(0.3 + 1.0 / 44100, 0.6), 1e-6);  // not one sample after Stop
  EXPECT_GT(wav.rms(0.62, 0.9), 0.3);
  EXPECT_NEAR(stoppedAt, 0.3, 0.01);
}

TEST_F(PlaybackTest, SettingPositionZeroRewinds) {
  // 440 Hz for the first half second, 880 Hz after.
  ASSERT_TRUE(testing::runFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:duration=0.5", "-f", "lavfi", "-i",
                                  "sine=frequency=880:duration=0.5", "-filter_complex", "[0][1]concat=n=2:v=0:a=1",
                                  testing::scratchDir() + "/two-tones.wav"}));
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(testing::scratchDir() + "/two-tones.wav"));
  player.Play();
  capture.render(0.8);
  EXPECT_NEAR(player.CurrentPosition(), 0.8, 0.01);
  player.setCurrentPosition(0);
  EXPECT_NEAR(player.CurrentPosition(), 0.0, 0.01);
  EXPECT_EQ(player.PlayState(), 2);
  capture.render(0.3);
  player.Stop();
  const auto wav = capture.finish();
  EXPECT_GT(wav.toneLevel(880, 0.6, 0.8), 0.05);
  EXPECT_GT(wav.toneLevel(440, 0.85, 1.05), 0.05);
  EXPECT_LT(wav.toneLevel(880, 0.85, 1.05), 0.01);
}

TEST_F(PlaybackTest, PlayAfterTheEndStartsOver) {
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(makeTone("again.wav", 440, 0.3)));
  player.Play();
  capture.renderWhile([&] { return player.PlayState() == 2; }, 2.0);
  player.Play();
  EXPECT_EQ(player.PlayState(), 2);
  const double second = capture.renderWhile([&] { return player.PlayState() == 2; }, 2.0);
  EXPECT_NEAR(second, 0.3, 0.02);
}

TEST_F(PlaybackTest, SettingTheSameFileAgainReloadsIt) {
  ManualCapture capture;
  MediaPlayer player;
  const QString tone = makeTone("reload.wav", 440, 1.0);
  ASSERT_TRUE(player.setFileName(tone));
  player.Play();
  capture.render(0.5);
  ASSERT_TRUE(player.setFileName(tone));
  EXPECT_EQ(player.FileName(), tone);
  EXPECT_EQ(player.PlayState(), 0);
  EXPECT_DOUBLE_EQ(player.CurrentPosition(), 0.0);
  player.Play();
  EXPECT_NEAR(capture.renderWhile([&] { return player.PlayState() == 2; }, 3.0), 1.0, 0.02);
}

TEST_F(PlaybackTest, TwoPlayersMix) {
  ManualCapture capture;
  MediaPlayer a, b;
  ASSERT_TRUE(a.setFileName(makeTone("mix-a.wav", 440, 1.0, 0.3)));
  ASSERT_TRUE(b.setFileName(makeTone("mix-b.wav", 660, 1.0, 0.3)));
  a.Play();
  capture.render(0.25);
  b.Play();
  capture.render(0.5);
  a.Stop();
  b.Stop();
  const auto wav = capture.finish();
  EXPECT_NEAR(wav.toneLevel(440, 0.05, 0.25), 0.3, 0.02);
  EXPECT_LT(wav.toneLevel(660, 0.05, 0.25), 0.01);
  EXPECT_NEAR(wav.toneLevel(440, 0.3, 0.7), 0.3, 0.02);
  EXPECT_NEAR(wav.toneLevel(660, 0.3, 0.7), 0.3, 0.02);
}

TEST_F(PlaybackTest, RateTwoPlaysTwiceAsFast) {
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(makeTone("fast.wav", 440, 1.0)));
  player.setRate(2.0);
  player.Play();
  const double played = capture.renderWhile([&] { return player.PlayState() == 2; }, 3.0);
  EXPECT_NEAR(played, 0.5, 0.02);
  const auto wav = capture.finish();
  EXPECT_GT(wav.toneLevel(880, 0.1, 0.4), 0.3);
}

TEST_F(PlaybackTest, RateZeroCountsAsNormal) {
  MediaPlayer player;
  player.setRate(0);
  EXPECT_DOUBLE_EQ(player.Rate(), 1.0);
}

TEST_F(PlaybackTest, EndedIsSignalledOnceAfterTheLastRun) {
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(makeTone("signal.wav", 440, 0.2)));
  int ended = 0;
  QObject::connect(&player, &MediaPlayer::ended, [&] { ++ended; });
  player.setPlayCount(2);
  player.Play();
  capture.renderWhile([&] { return player.PlayState() == 2; }, 2.0);
  for (int i = 0; i < 10; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10), QThread::msleep(5);
  EXPECT_EQ(ended, 1);
}

}  // namespace
}  // namespace qm::media
