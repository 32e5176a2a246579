// The seven sound channels on the real media layer: records from frames and
// hotspots played, stopped, faded and cross-faded on the players MPlayer(1..7),
// with the mix captured where the sound itself is the point.
#include "engine/SoundChannels.h"

#include <gtest/gtest.h>

#include <QFile>

#include "GameFixture.h"
#include "engine/LegacySoundBlock.h"
#include "media/AudioMixer.h"
#include "media/MediaTestSupport.h"
#include "media/Soundfont.h"
#include "support/ActionRecords.h"
#include "startup/Project.h"
#include "startup/RecordReader.h"
#include "startup/RecordWriter.h"

using qm::engine::FrameSoundRecord;
using qm::engine::SoundChannels;
using qm::media::Centibels;
using qm::media::fromLevel;
namespace mt = qm::media::testing;

namespace qm::testing {
namespace {

constexpr int kPlay = 2, kStop = 3, kVolume = 4;

QByteArray fileBytes(const QString& path) {
  QFile f(path);
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

class SoundChannelsTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    folder_.general();
    frame(folder_, "Start", {});
    folder_.file("Areas/a.wav", fileBytes(mt::makeTone("a.wav", 440, 4.0)));
    folder_.file("Areas/b.wav", fileBytes(mt::makeTone("b.wav", 660, 4.0)));
    folder_.file("Areas/c.wav", fileBytes(mt::makeTone("c.wav", 880, 4.0)));
    folder_.file("Areas/bad.wav", QByteArray("RIFF\x10\0\0\0WAVEjunkjunkjunk", 24));
    folder_.file("Areas/theme.mid", mt::makeMidiBytes({{0, 3.5, 60}}));
    folder_.file("Areas/tune.mid", mt::makeMidiBytes({{0, 3.5, 67}}));
    folder_.file("Areas/music.011", mt::makeMidiBytes({{0, 3.5, 64}}));
    folder_.file("Areas/effect.002", fileBytes(mt::makeTone("e.wav", 330, 4.0)));
    startGame(folder_);
    capture_ = std::make_unique<mt::ManualCapture>();
  }
  void TearDown() override {
    capture_.reset();
    media::AudioMixer::instance().setManualClock(false);
    GameFixture::TearDown();
  }
  SoundChannels& sound() { return game().soundChannels(); }
  engine::SoundChannel& channel(int n) { return sound().table().channel(n); }
  engine::MediaPlayerControl& mplayer(int i) { return game().MPlayer[i]; }
  QString areas(const QString& name) { return engine::locateSoundFile(name); }
  // Plays a file on a channel at full volume, as a hotspot asks for it.
  void playOn(int channelNumber, const QString& file, double volume = 10) {
    sound().StoreHotspotRecord(channelNumber, {kPlay, false, true, volume, file});
    sound().ApplySoundChannels();
  }
  void render(double seconds) { capture_->render(seconds); }

  GameFolderBuilder folder_;
  std::unique_ptr<mt::ManualCapture> capture_;
};

// ---- Volume scale ---------------------------------------------------------------

TEST(ToPlayerVolume, LevelsBecomeCentibelsWithHalvesToEven) {
  struct Case {
    double level;
    int centibels;
    const char* why;
  } cases[] = {
      {10, 0, "full"},
      {8, -800, "a legacy block's volume"},
      {7, -1200, "background music"},
      {0, -4000, "the quietest level is not silence"},
      {9.96875, -12, "-12.5 rounds to the even -12"},
      {9.90625, -38, "-37.5 rounds to the even -38"},
      {15, 0, "above 10: a player cannot go louder than full"},
      {-30, -10000, "far below 0: silent, no further"},
      {-3, -5200, "a little below 0 is still quieter"},
  };
  for (const Case& c : cases) EXPECT_EQ(SoundChannels::ToPlayerVolume(c.level).value, c.centibels) << c.why;
  EXPECT_EQ(fromLevel(std::nan("")).value, -4000);
}

// ---- Keep-if-playing ---------------------------------------------------------------

TEST_F(SoundChannelsTest, FrameKeepsMusicThatPlaysAndAHotspotRestartsIt) {
  sound().StoreFrameRecords({{kPlay, false, true, 10, "a.wav"}}, 0);
  sound().ApplySoundChannels();
  ASSERT_TRUE(sound().IsFilePlaying(areas("a.wav")));
  render(0.5);
  const double before = mplayer(1).currentPosition();
  EXPECT_GT(before, 0.4);

  // The next frame asks for the same file: it plays on undisturbed.
  sound().StoreFrameRecords({{kPlay, false, true, 10, "A.WAV"}}, 0);
  sound().ApplySoundChannels();
  EXPECT_GE(mplayer(1).currentPosition(), before);

  // A hotspot asks for it: it starts again.
  playOn(1, "a.wav");
  EXPECT_LT(mplayer(1).currentPosition(), 0.1);
  EXPECT_EQ(mplayer(1).playState(), 2);
  EXPECT_EQ(channel(1).action, 0);  // performed and cleared
  EXPECT_TRUE(channel(1).soundFile.isEmpty());
}

TEST_F(SoundChannelsTest, HotspotRecordsBeforeAFrameWinOverTheFramesOwn) {
  sound().StoreHotspotRecord(2, {kPlay, false, false, 6, "b.wav"});
  sound().StoreFrameRecords({{0, false, false, 0, ""}, {kPlay, false, false, 10, "c.wav"}}, 0);
  sound().ApplySoundChannels();
  EXPECT_EQ(mplayer(2).fileName(), areas("b.wav"));
  EXPECT_EQ(mplayer(2).volume(), -1600);
}

// ---- Cross-fade ------------------------------------------------------------------------

TEST_F(SoundChannelsTest, FadeInOnABusyChannelCrossFadesOntoAnIdlePlayerAndSwaps) {
  playOn(1, "a.wav");
  render(0.2);
  sound().StoreHotspotRecord(1, {kPlay, true, false, 10, "b.wav"});
  sound().ApplySoundChannels();
  // The new sound starts quietly on the first idle player; the channel that
  // used that player now has the old one.
  EXPECT_EQ(channel(1).player, 2);
  EXPECT_EQ(channel(1).previousPlayer, 1);
  EXPECT_EQ(channel(2).player, 1);
  EXPECT_EQ(mplayer(2).fileName(), areas("b.wav"));
  EXPECT_EQ(mplayer(2).volume(), -4000);
  EXPECT_EQ(mplayer(1).playState(), 2);

  sound().AudioFadeStep(0.5);
  EXPECT_EQ(mplayer(2).volume(), -2000);
  EXPECT_EQ(mplayer(1).volume(), -2000);  // from its start volume 10 halfway down

  sound().AudioFadeStep(1);
  EXPECT_EQ(mplayer(2).volume(), 0);
  EXPECT_NE(mplayer(1).playState(), 2);
  EXPECT_EQ(channel(1).previousPlayer, 0);
  EXPECT_FALSE(channel(1).fade);
  EXPECT_FALSE(game().TimerAudioFade.enabled());
}

TEST_F(SoundChannelsTest, CrossFadeIsHeardAsOneSoundGivingWayToTheOther) {
  playOn(1, "a.wav");
  render(0.1);
  sound().StoreHotspotRecord(1, {kPlay, true, false, 10, "b.wav"});
  sound().ApplySoundChannels();
  constexpr int kSteps = 20;
  constexpr double kStep = 0.05;
  for (int i = 1; i <= kSteps; ++i) {
    sound().AudioFadeStep(static_cast<double>(i) / kSteps);
    render(kStep);
  }
  render(0.2);
  const mt::Wav wav = capture_->finish();
  const double full = wav.rms(0.02, 0.1);
  ASSERT_GT(full, 0.05);
  // Levels far below the other sound drown in its leakage into the measure.
  const double floor = wav.toneLevel(440, 0.02, 0.1) * 0.05;
  double lastOld = 1e9, lastNew = 0;
  for (int i = 0; i < kSteps; ++i) {
    const double from = 0.1 + i * kStep + 0.01, to = from + kStep - 0.02;
    // Never a gap: together they stay clearly audible.
    EXPECT_GT(wav.rms(from, to), full * 0.1) << "step " << i;
    const double oldTone = wav.toneLevel(440, from, to), newTone = wav.toneLevel(660, from, to);
    if (oldTone > floor) {
      EXPECT_LE(oldTone, lastOld * 1.05) << "the old sound rose at step " << i;
    }
    if (newTone > floor) {
      EXPECT_GE(newTone, lastNew * 0.95) << "the new sound fell at step " << i;
    }
    lastOld = oldTone;
    lastNew = newTone;
  }
  const double end = 0.1 + kSteps * kStep + 0.05;
  EXPECT_LT(wav.toneLevel(440, end, end + 0.1), wav.toneLevel(660, end, end + 0.1) * 0.01);
}

TEST_F(SoundChannelsTest, FadeInWithAllSevenBusyReusesTheChannelsOwnPlayer) {
  const char* files[] = {"a.wav", "b.wav", "c.wav", "a.wav", "b.wav", "c.wav", "a.wav"};
  for (int c = 1; c <= 7; ++c) playOn(c, files[c - 1]);
  EXPECT_EQ(sound().FindIdlePlayer(), -1);
  sound().StoreHotspotRecord(3, {kPlay, true, false, 10, "b.wav"});
  sound().ApplySoundChannels();
  EXPECT_EQ(channel(3).player, 3);
  EXPECT_EQ(channel(3).previousPlayer, 0);
  EXPECT_EQ(mplayer(3).fileName(), areas("b.wav"));
  EXPECT_EQ(mplayer(3).volume(), -4000);
  sound().AudioFadeStep(1);
  EXPECT_EQ(mplayer(3).volume(), 0);
  EXPECT_EQ(mplayer(3).playState(), 2);
}

// ---- Fades -----------------------------------------------------------------------------------

TEST_F(SoundChannelsTest, FadeOutFallsSteadilyToSilence) {
  playOn(1, "a.wav");
  render(0.1);
  sound().StoreHotspotRecord(1, {kStop, true, false, 0, ""});
  sound().ApplySoundChannels();
  EXPECT_EQ(mplayer(1).playState(), 2);  // still playing: the fade stops it
  EXPECT_EQ(channel(1).startVolume, 10);
  constexpr int kSteps = 20;
  for (int i = 1; i <= kSteps; ++i) {
    sound().AudioFadeStep(static_cast<double>(i) / kSteps);
    render(0.05);
  }
  render(0.1);
  EXPECT_NE(mplayer(1).playState(), 2);
  const mt::Wav wav = capture_->finish();
  double last = wav.rms(0.02, 0.1);
  for (int i = 0; i < kSteps - 1; ++i) {
    const double from = 0.1 + i * 0.05 + 0.01;
    const double level = wav.rms(from, from + 0.03);
    EXPECT_LE(level, last * 1.02 + 1e-6) << "louder again at step " << i;
    last = level;
  }
  EXPECT_LT(wav.peak(0.1 + kSteps * 0.05 + 0.02, wav.seconds()), 1e-4);
}

TEST_F(SoundChannelsTest, FadeStopFromAChannelWithoutVolumeIsQuietAtOnce) {
  // Music on channel 1's player that no record gave a volume (the table's is 0).
  sound().PlayOnChannel(1, areas("a.wav"), 0, Centibels{0});
  sound().StoreHotspotRecord(1, {kStop, true, false, 0, ""});
  sound().ApplySoundChannels();
  sound().AudioFadeStep(0.1);
  EXPECT_EQ(mplayer(1).volume(), -4000);
  sound().AudioFadeStep(1);
  EXPECT_NE(mplayer(1).playState(), 2);
}

TEST_F(SoundChannelsTest, VolumeChangeFadesFromTheLastVolume) {
  playOn(1, "a.wav", 10);
  sound().StoreHotspotRecord(1, {kVolume, true, false, 5, ""});
  sound().ApplySoundChannels();
  sound().AudioFadeStep(0.5);
  EXPECT_EQ(mplayer(1).volume(), fromLevel(7.5).value);
  sound().AudioFadeStep(1);
  EXPECT_EQ(mplayer(1).volume(), fromLevel(5).value);
  // Without a fade the change is at once.
  sound().StoreHotspotRecord(1, {kVolume, false, false, 2, ""});
  sound().ApplySoundChannels();
  EXPECT_EQ(mplayer(1).volume(), fromLevel(2).value);
}

TEST_F(SoundChannelsTest, TimerDrivesTheFadeByTheClock) {
  double now = 100;
  sound().setClockForTests([&] { return now; });
  playOn(1, "a.wav");
  sound().StoreHotspotRecord(1, {kStop, true, false, 0, ""});
  sound().SetFadeDuration(2.0);
  sound().ApplySoundChannels();
  sound().EnableAudioFade();
  EXPECT_TRUE(game().TimerAudioFade.enabled());
  EXPECT_EQ(game().TimerAudioFade.interval(), 100);
  sound().TimerAudioFade_Timer();  // the first tick only notes the start
  EXPECT_EQ(mplayer(1).volume(), 0);
  now = 101;
  sound().TimerAudioFade_Timer();
  EXPECT_EQ(mplayer(1).volume(), -2000);
  EXPECT_TRUE(game().TimerAudioFade.enabled());
  now = 102.5;
  sound().TimerAudioFade_Timer();
  EXPECT_NE(mplayer(1).playState(), 2);
  EXPECT_FALSE(game().TimerAudioFade.enabled());
}

TEST_F(SoundChannelsTest, ZeroFadeDurationFinishesOnTheSecondTick) {
  double now = 5;
  sound().setClockForTests([&] { return now; });
  playOn(1, "a.wav");
  sound().StoreHotspotRecord(1, {kVolume, true, false, 3, ""});
  sound().SetFadeDuration(0);
  sound().ApplySoundChannels();
  sound().EnableAudioFade();
  sound().TimerAudioFade_Timer();
  EXPECT_EQ(mplayer(1).volume(), 0);
  sound().TimerAudioFade_Timer();
  EXPECT_EQ(mplayer(1).volume(), -2800);
  EXPECT_FALSE(game().TimerAudioFade.enabled());
}

// ---- MIDI and sampled audio -----------------------------------------------------------------

TEST_F(SoundChannelsTest, StartingAMidiTuneStopsEveryOtherMidiPlayer) {
  if (media::findSoundfont().isEmpty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  playOn(4, "theme.mid");
  playOn(1, "a.wav");
  ASSERT_EQ(mplayer(4).playState(), 2);
  playOn(2, "tune.mid");
  EXPECT_NE(mplayer(4).playState(), 2);
  EXPECT_EQ(mplayer(2).playState(), 2);
  EXPECT_EQ(mplayer(1).playState(), 2);  // sampled sound is not touched
  // A built project's coded name is recognised by its content.
  playOn(5, "music.011");
  EXPECT_NE(mplayer(2).playState(), 2);
}

TEST_F(SoundChannelsTest, StopAnyWavOrMP3LeavesMidiPlaying) {
  if (media::findSoundfont().isEmpty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  playOn(1, "a.wav");
  playOn(2, "theme.mid");
  playOn(3, "effect.002");
  sound().StopAnyWavOrMP3();
  EXPECT_NE(mplayer(1).playState(), 2);
  EXPECT_EQ(mplayer(2).playState(), 2);
  EXPECT_NE(mplayer(3).playState(), 2);
  // Built projects' coded names: told apart by what the files hold.
  playOn(4, "music.011");
  playOn(3, "effect.002");
  sound().StopAnyWavOrMP3();
  EXPECT_EQ(mplayer(4).playState(), 2);
  EXPECT_NE(mplayer(3).playState(), 2);
}

// ---- Reset -------------------------------------------------------------------------------------

TEST_F(SoundChannelsTest, ResetStopsEverythingAndGivesChannelsTheirOwnPlayers) {
  playOn(1, "a.wav");
  sound().StoreHotspotRecord(1, {kPlay, true, false, 10, "b.wav"});
  sound().ApplySoundChannels();
  ASSERT_EQ(channel(1).player, 2);
  sound().ResetSoundChannels();
  for (int c = 1; c <= 7; ++c) {
    EXPECT_EQ(channel(c).player, c);
    EXPECT_NE(mplayer(c).playState(), 2);
    EXPECT_EQ(channel(c).action, 0);
  }
}

// ---- Bad input -----------------------------------------------------------------------------------

TEST_F(SoundChannelsTest, DamagedFileWarnsOnceAndTheOtherChannelsStillPlay) {
  sound().StoreHotspotRecord(1, {kPlay, false, false, 10, "bad.wav"});
  sound().StoreHotspotRecord(2, {kPlay, false, false, 10, "b.wav"});
  sound().ApplySoundChannels();
  ASSERT_EQ(messagesContaining("WARNING: Another program may be using the audio hardware resources"), 1u);
  EXPECT_EQ(lastBox().title, "AUDIO PROBLEM");
  EXPECT_TRUE(lastBox().text.endsWith("\r\n\r\nThis message will not reappear until you restart the program."));
  EXPECT_EQ(mplayer(2).playState(), 2);
  EXPECT_EQ(channel(1).action, 0);  // the broken record does not block later ones

  playOn(3, "bad.wav");
  EXPECT_EQ(messagesContaining("AUDIO PROBLEM") + messagesContaining("WARNING: Another"), 1u);
}

TEST_F(SoundChannelsTest, NoAudioWarningWhileTheGameStops) {
  startup::SetGameStopped(true);
  playOn(1, "bad.wav");
  startup::SetGameStopped(false);
  EXPECT_EQ(boxCount(), 0u);
  EXPECT_FALSE(sound().audioWarningShown());
}

TEST_F(SoundChannelsTest, MissingFileIsSkippedWithTheLocatorsWarningOnly) {
  const std::size_t before = boxCount();
  playOn(1, "gone.wav");
  EXPECT_EQ(boxCount(), before + 1);  // the missing-file warning
  EXPECT_EQ(messagesContaining("AUDIO PROBLEM"), 0u);
  EXPECT_NE(mplayer(1).playState(), 2);
  // A fading play of a missing file still fades the volume of what plays.
  playOn(2, "a.wav");
  sound().StoreHotspotRecord(2, {kPlay, true, false, 4, "gone.wav"});
  sound().ApplySoundChannels();
  EXPECT_TRUE(channel(2).soundFile.isEmpty());
  EXPECT_TRUE(channel(2).fade);
}

TEST_F(SoundChannelsTest, VolumesOutsideTheScaleStayWithinFullAndSilent) {
  playOn(1, "a.wav", 25);
  EXPECT_EQ(mplayer(1).volume(), 0);
  playOn(2, "b.wav", -5);
  EXPECT_EQ(mplayer(2).volume(), -6000);
  playOn(3, "c.wav", -1e9);
  EXPECT_EQ(mplayer(3).volume(), -10000);
  // A fade from an out-of-range start volume stays in range all the way.
  sound().StoreHotspotRecord(1, {kStop, true, false, 0, ""});
  sound().ApplySoundChannels();
  sound().AudioFadeStep(0.1);
  EXPECT_EQ(mplayer(1).volume(), 0);  // 0.9 x 25 is still above full
  sound().AudioFadeStep(0.9);
  EXPECT_EQ(mplayer(1).volume(), fromLevel(2.5).value);
}

TEST_F(SoundChannelsTest, FrameRecordsPastTheSeventhAreIgnored) {
  std::vector<FrameSoundRecord> records(9, FrameSoundRecord{kPlay, false, false, 10, "a.wav"});
  sound().StoreFrameRecords(records, 0);
  sound().ApplySoundChannels();
  int playing = 0;
  for (int i = 1; i <= 7; ++i) playing += mplayer(i).playState() == 2;
  EXPECT_EQ(playing, 1);  // one player plays a.wav: the others keep it as already playing
}

// ---- Legacy blocks -------------------------------------------------------------------------------

startup::RecordWriter legacyBlock(const std::vector<LegacyChannelSpec>& entries) {
  startup::RecordWriter w;
  for (int i = 0; i < 22; ++i) w.integer(0);
  for (const auto& e : entries) w.integer(0).boolean(e.stop).boolean(e.play).str(e.file).boolean(e.loop);
  return w;
}

TEST_F(SoundChannelsTest, LegacyBlockPlaysOnTheFirstFiveChannelsAtLevelEight) {
  playOn(1, "c.wav");
  startup::RecordWriter w = legacyBlock({{true, false, "", false}, {false, true, "b.wav", true}});
  startup::RecordReader reader(w.bytes());
  sound().PlaySoundChannels(reader);
  EXPECT_NE(mplayer(1).playState(), 2);
  EXPECT_EQ(mplayer(2).playState(), 2);
  EXPECT_EQ(mplayer(2).volume(), -800);
  EXPECT_EQ(mplayer(2).playCount(), 0);
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(SoundChannelsTest, LegacyBlockWithAMissingFileReportsAndStops) {
  startup::RecordWriter w = legacyBlock({{false, true, "gone.wav", false}, {false, true, "b.wav", false}});
  startup::RecordReader reader(w.bytes());
  sound().PlaySoundChannels(reader);
  EXPECT_EQ(messagesContaining(" Unable to load old sound system information."), 1u);
  EXPECT_NE(mplayer(2).playState(), 2);  // the block ended at the failure
}

// ---- Frames opening --------------------------------------------------------------------------------

TEST_F(SoundChannelsTest, OpeningAFrameKeepsTheBackgroundMusicOfTheLastOne) {
  FrameSpec hall;
  hall.backgroundSound = "a.wav";
  frame(folder_, "Hall", hall);
  frame(folder_, "Cellar", hall);
  hall.restartBackgroundSound = true;
  frame(folder_, "Tower", hall);
  game().OpenFrame("Hall", false, 0, 0);
  ASSERT_EQ(mplayer(6).playState(), 2);
  EXPECT_EQ(mplayer(6).volume(), -1200);
  EXPECT_EQ(mplayer(6).playCount(), 0);
  render(0.4);
  game().OpenFrame("Cellar", false, 0, 0);
  EXPECT_GT(mplayer(6).currentPosition(), 0.3);
  game().OpenFrame("Tower", false, 0, 0);
  EXPECT_LT(mplayer(6).currentPosition(), 0.1);
  EXPECT_EQ(mplayer(6).playState(), 2);
}

TEST_F(SoundChannelsTest, OpeningAFramePlaysItsRecordsAndStartsTheFade) {
  FrameSpec spec;
  spec.soundFadeMs = 1200;
  spec.sounds = {{kPlay, false, true, 5, "b.wav"}, {kPlay, true, false, 10, "c.wav"}};
  frame(folder_, "Hall", spec);
  game().OpenFrame("Hall", false, 0, 0);
  EXPECT_EQ(mplayer(1).playState(), 2);
  EXPECT_EQ(mplayer(1).volume(), -2000);
  EXPECT_EQ(mplayer(2).volume(), -4000);  // fading in
  EXPECT_DOUBLE_EQ(sound().table().fadeSeconds, 1.2);
  EXPECT_TRUE(game().TimerAudioFade.enabled());
  runEvents(1600);
  EXPECT_EQ(mplayer(2).volume(), 0);
  EXPECT_FALSE(game().TimerAudioFade.enabled());
}

TEST_F(SoundChannelsTest, OpeningAFramePlaysItsLegacyChannelFile) {
  frame(folder_, "Hall", {});
  folder_.file("Frames/Hall.chn", legacyBlock({{false, false, "", false}, {false, true, "b.wav", false}}).bytes());
  game().OpenFrame("Hall", false, 0, 0);
  EXPECT_EQ(mplayer(2).playState(), 2);
  EXPECT_EQ(mplayer(2).volume(), -800);
  EXPECT_EQ(mplayer(2).playCount(), 1);
}

TEST_F(SoundChannelsTest, AFrameThatStopsEverySoundKeepsTheMusic) {
  if (media::findSoundfont().isEmpty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  playOn(1, "theme.mid");
  playOn(2, "a.wav");
  FrameSpec quiet;
  quiet.stopEverySound = true;
  frame(folder_, "Quiet", quiet);
  folder_.file("Frames/Quiet.chn", legacyBlock({{false, true, "b.wav", false}}).bytes());
  game().OpenFrame("Quiet", false, 0, 0);
  EXPECT_EQ(mplayer(1).playState(), 2);
  EXPECT_NE(mplayer(2).playState(), 2);
  EXPECT_NE(mplayer(1).fileName(), areas("b.wav"));  // the channel file is not used
}

}  // namespace
}  // namespace qm::testing
