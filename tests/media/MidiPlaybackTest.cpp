// MIDI music on the synthesizer: a single play ends when the last note has died away
// (not at a late end-of-track mark), repeats start over, several pieces play at once.
#include <gtest/gtest.h>

#include <QThread>
#include <cmath>

#include "MediaTestSupport.h"
#include "media/MediaPlayer.h"
#include "media/MidiDecoder.h"
#include "media/Soundfont.h"

namespace qm::media {
namespace {

using testing::ManualCapture;
using testing::MidiNote;

class MidiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ensureApplication();
    if (findSoundfont().isEmpty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  }
};

double keyFrequency(int key) { return 440.0 * std::pow(2.0, (key - 69) / 12.0); }

TEST_F(MidiTest, OncePlayedPieceEndsWhenItsLastNoteDiesAway) {
  // Half a second of music, then nine and a half seconds until the end-of-track mark.
  const QString path = testing::writeFile("late-end.mid", testing::makeMidiBytes({{0.0, 0.5, 69, 110}}, 10.0));
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(path)) << player.errorString().toStdString();
  player.Play();
  const double played = capture.renderWhile([&] { return player.PlayState() == 2; }, 12.0);
  EXPECT_GT(played, 0.5);
  EXPECT_LT(played, 0.5 + 3.0);
  const auto wav = capture.finish();
  EXPECT_GT(wav.toneLevel(440, 0.05, 0.45), 0.005);
  // Nothing audible was cut off: the end of the play is silent.
  EXPECT_LT(wav.peak(played - 0.05, played), 0.002);
}

TEST_F(MidiTest, RiffWrappedMidiPlaysLikeThePlainFile) {
  const std::vector<MidiNote> notes = {{0.0, 0.4, 72}, {0.4, 0.4, 76}};
  MediaPlayer plain, riff;
  ASSERT_TRUE(plain.setFileName(testing::writeFile("tune.mid", testing::makeMidiBytes(notes))));
  ASSERT_TRUE(riff.setFileName(testing::writeFile("tune.rmi", testing::makeMidiBytes(notes, 0.0, true))));
  double lengths[2];
  MediaPlayer* players[2] = {&plain, &riff};
  for (int i = 0; i < 2; ++i) {
    ManualCapture capture;
    players[i]->Play();
    lengths[i] = capture.renderWhile([&] { return players[i]->PlayState() == 2; }, 6.0);
    const auto wav = capture.finish();
    EXPECT_GT(wav.toneLevel(keyFrequency(76), 0.45, 0.75), 0.002) << i;
  }
  EXPECT_NEAR(lengths[0], lengths[1], 0.02);
}

TEST_F(MidiTest, PlayCountZeroRepeatsFromTheStart) {
  // A note for 0.3 s in a piece of 0.5 s: every run starts with it.
  const QString path = testing::writeFile("loop.mid", testing::makeMidiBytes({{0.0, 0.3, 69, 110}}, 0.5));
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(path));
  player.setPlayCount(0);
  player.Play();
  capture.render(2.2);
  EXPECT_EQ(player.PlayState(), 2);
  player.Stop();
  const auto wav = capture.finish();
  for (double run = 0.0; run < 2.0; run += 0.5) EXPECT_GT(wav.toneLevel(440, run + 0.05, run + 0.25), 0.005) << run;
}

TEST_F(MidiTest, PlayCountTwoPlaysTwiceThenEnds) {
  const QString path = testing::writeFile("twice.mid", testing::makeMidiBytes({{0.0, 0.3, 69, 110}}, 0.5));
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(path));
  player.setPlayCount(2);
  player.Play();
  const double played = capture.renderWhile([&] { return player.PlayState() == 2; }, 10.0);
  EXPECT_GT(played, 0.8);
  EXPECT_LT(played, 0.8 + 3.0);
  const auto wav = capture.finish();
  EXPECT_GT(wav.toneLevel(440, 0.55, 0.75), 0.005);
}

TEST_F(MidiTest, SeveralMidiPlayersPlayAtOnce) {
  MediaPlayer low, high;
  ASSERT_TRUE(low.setFileName(testing::writeFile("low.mid", testing::makeMidiBytes({{0.0, 1.0, 57, 110}}))));
  ASSERT_TRUE(high.setFileName(testing::writeFile("high.mid", testing::makeMidiBytes({{0.0, 1.0, 76, 110, 0, 1}}))));
  ManualCapture capture;
  low.Play();
  high.Play();
  capture.render(0.8);
  EXPECT_EQ(low.PlayState(), 2);
  EXPECT_EQ(high.PlayState(), 2);
  low.Stop();
  high.Stop();
  const auto wav = capture.finish();
  EXPECT_GT(wav.toneLevel(keyFrequency(57), 0.1, 0.7), 0.005);
  EXPECT_GT(wav.toneLevel(keyFrequency(76), 0.1, 0.7), 0.005);
}

TEST_F(MidiTest, VolumeAndStopApplyToMusicToo) {
  const QString path = testing::writeFile("long.mid", testing::makeMidiBytes({{0.0, 3.0, 69, 110, 19}}));  // organ holds its level
  double levels[2];
  for (int i = 0; i < 2; ++i) {
    ManualCapture capture;
    MediaPlayer player;
    ASSERT_TRUE(player.setFileName(path));
    player.setVolume(i == 0 ? 0 : -1200);
    player.Play();
    capture.render(1.0);
    player.Stop();
    capture.render(0.3);
    const auto wav = capture.finish();
    levels[i] = wav.rms(0.5, 1.0);
    EXPECT_LT(wav.peak(1.0 + 1.0 / 44100, 1.3), 1e-6);
  }
  EXPECT_NEAR(20 * std::log10(levels[1] / levels[0]), -12.0, 0.3);
}

TEST_F(MidiTest, SeekingSkipsTheNotesBeforeTheNewPosition) {
  // Organ (it holds its level): A4 for the first second, E5 for the next.
  const QString path = testing::writeFile("seek.mid", testing::makeMidiBytes({{0.0, 1.0, 69, 110, 19}, {1.0, 1.0, 76, 110, 19}}));
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(path));
  player.setCurrentPosition(1.2);
  EXPECT_NEAR(player.CurrentPosition(), 1.2, 0.01);
  player.Play();
  capture.render(0.5);
  player.Stop();
  const auto wav = capture.finish();
  EXPECT_GT(wav.toneLevel(keyFrequency(76), 0.1, 0.4), 0.005);
  EXPECT_LT(wav.toneLevel(keyFrequency(69), 0.1, 0.4), 0.2 * wav.toneLevel(keyFrequency(76), 0.1, 0.4));
}

TEST_F(MidiTest, PreparedSynthesizerStartsTheMusicAtOnce) {
  prepareMidiSynthesizer();
  prepareMidiSynthesizer();  // a second call while the first loads does no harm
  QThread::msleep(400);
  ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(testing::writeFile("prepared.mid", testing::makeMidiBytes({{0.0, 0.5, 69, 110}}))));
  player.Play();
  capture.render(0.3);
  player.Stop();
  EXPECT_GT(capture.finish().toneLevel(440, 0.02, 0.3), 0.005);
}

TEST(SoundfontTest, EnvironmentVariableNamesTheSoundfont) {
  const QString font = testing::writeFile("custom.sf2", "not used for playing");
  qputenv(kSoundfontVariable, font.toLocal8Bit());
  EXPECT_EQ(findSoundfont(), font);
  qputenv(kSoundfontVariable, "/no/such/file.sf2");
  const QString fallback = findSoundfont();
  EXPECT_NE(fallback, "/no/such/file.sf2");
  if (!fallback.isEmpty()) {
    EXPECT_TRUE(soundfontCandidates().contains(fallback));
  }
  qunsetenv(kSoundfontVariable);
}

}  // namespace
}  // namespace qm::media
