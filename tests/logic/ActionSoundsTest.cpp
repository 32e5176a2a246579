// What an action does to the music and sound channels, checked on the
// players themselves: music plays on channel 6, a single sound on channel 7,
// and "stop the music" silences channel 6 and nothing else.
#include <gtest/gtest.h>

#include <QFile>

#include "LogicGameFixture.h"
#include "media/MediaTestSupport.h"

namespace qm::testing {
namespace {

QByteArray toneBytes(const QString& name, double frequency) {
  QFile f(media::testing::makeTone(name, frequency, 4.0));
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

class ActionSoundsTest : public LogicGameFixture {
 protected:
  // Hotspot 1 starts the music and a sound; hotspot 2 stops the music.
  engine::Game& start(GameFolderBuilder& folder) {
    basicGame(folder);
    folder.file("Areas/theme.wav", toneBytes("theme.wav", 440));
    folder.file("Frames/ding.wav", toneBytes("ding.wav", 880));
    ActionSpec play;
    play.playMusic = true;
    play.musicFile = "theme.wav";
    play.playSound = true;
    play.soundFile = "ding.wav";
    ActionSpec stop;
    stop.stopMusic = 1;
    frame(folder, "Hall", {HotspotSpec{}, HotspotSpec{}}, {play, stop});
    return startGame(folder);
  }
  void click(int n) { logic().AreaClick(n, engine::kLeftButton); }
  bool playing(int channel) { return game().MPlayer[channel].playState() == 2; }
  QString file(int channel) { return game().MPlayer[channel].fileName(); }
};

TEST_F(ActionSoundsTest, MusicPlaysOnChannelSixAndTheSoundOnChannelSeven) {
  GameFolderBuilder folder;
  start(folder);
  click(1);
  EXPECT_TRUE(playing(6));
  EXPECT_TRUE(file(6).endsWith("theme.wav")) << file(6).toStdString();
  EXPECT_TRUE(playing(7));
  EXPECT_TRUE(file(7).endsWith("ding.wav")) << file(7).toStdString();
  for (int channel = 1; channel <= 5; ++channel) EXPECT_FALSE(playing(channel)) << "channel " << channel;
}

TEST_F(ActionSoundsTest, StoppingTheMusicSilencesChannelSixAndLeavesTheSound) {
  GameFolderBuilder folder;
  start(folder);
  click(1);
  ASSERT_TRUE(playing(6));
  click(2);
  EXPECT_FALSE(playing(6));
  EXPECT_TRUE(playing(7));
}

// A script that asks for the last visited frame on the first frame of the
// game opens no frame; the action's channel records must play at once rather
// than wait for a frame opening that never comes.
TEST_F(ActionSoundsTest, ChannelRecordsPlayWhenGoingBackOpensNoFrame) {
  GameFolderBuilder folder;
  basicGame(folder);
  folder.file("Areas/rain.wav", toneBytes("rain.wav", 330));
  ActionSpec back;
  back.runScript = true;
  back.script = "GoToFrame |Last Visited Frame|, 0, 0";
  back.channels = {ChannelSpec{1, false, false, 8, "rain.wav"}};
  frame(folder, "Hall", {HotspotSpec{}}, {back});
  startGame(folder);
  ASSERT_EQ(game().FramesHistory.ListCount(), 1);
  click(1);
  EXPECT_EQ(frameName(), "Hall");
  EXPECT_EQ(allMessages(), "");
  const int player = game().soundChannels().table().channel(1).player;
  EXPECT_TRUE(playing(player));
  EXPECT_TRUE(file(player).endsWith("rain.wav")) << file(player).toStdString();
}

// With a frame to go back to, the records wait for it and play there.
TEST_F(ActionSoundsTest, ChannelRecordsOfAnActionThatGoesBackPlayInTheFrameItOpens) {
  GameFolderBuilder folder;
  basicGame(folder);
  folder.file("Areas/rain.wav", toneBytes("rain.wav", 330));
  ActionSpec go;
  go.goToFrame = 1;
  go.frameName = "Garden";
  ActionSpec back;
  back.runScript = true;
  back.script = "GoToFrame |Last Visited Frame|, 0, 0";
  back.channels = {ChannelSpec{1, false, false, 8, "rain.wav"}};
  frame(folder, "Hall", {HotspotSpec{}}, {go});
  frame(folder, "Garden", {HotspotSpec{}}, {back});
  startGame(folder);
  click(1);
  ASSERT_EQ(frameName(), "Garden");
  click(1);
  EXPECT_EQ(frameName(), "Hall");
  const int player = game().soundChannels().table().channel(1).player;
  EXPECT_TRUE(playing(player));
  EXPECT_TRUE(file(player).endsWith("rain.wav")) << file(player).toStdString();
}

}  // namespace
}  // namespace qm::testing
