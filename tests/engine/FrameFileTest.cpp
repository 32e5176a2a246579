// Reading frame files: the end-of-file groups and the sound records.
#include <gtest/gtest.h>

#include "engine/FrameFile.h"
#include "platform/VbError.h"
#include "support/FrameRecords.h"

using qm::engine::FrameFile;
using qm::engine::parseFrameFile;
using qm::testing::frameFileBytes;
using qm::testing::FrameSpec;

TEST(FrameFile, FileEndingAfterTheFirstTenFieldsKeepsTheDefaults) {
  FrameSpec s;
  s.backgroundType = 1;
  s.background = "hall.jpg";
  s.backgroundSound = "music.mid";
  s.timerOn = true;
  s.timerSeconds = "2.5";
  s.timerTarget = "Garden";
  s.groups = 0;
  const FrameFile f = parseFrameFile(frameFileBytes(s));
  EXPECT_EQ(f.backgroundType, 1);
  EXPECT_EQ(f.background, "hall.jpg");
  EXPECT_EQ(f.backgroundSound, "music.mid");
  EXPECT_TRUE(f.timerOn);
  EXPECT_DOUBLE_EQ(f.timerSeconds, 2.5);
  EXPECT_EQ(f.timerTarget, "Garden");
  EXPECT_EQ(f.groupsRead, 0);
  // No second sound, no video options, a looping background sound, no timer transition.
  EXPECT_TRUE(f.secondSound.isEmpty());
  EXPECT_FALSE(f.videoNaturalAtOrigin);
  EXPECT_TRUE(f.loopBackgroundSound);
  EXPECT_FALSE(f.timerWithTransition);
  EXPECT_TRUE(f.soundRecords.empty());
}

TEST(FrameFile, EachGroupIsReadOnlyWhenTheFileGoesOn) {
  FrameSpec s;
  s.stopEverySound = true;
  s.secondSound = "bell.wav";
  s.videoNaturalAtPosition = true;
  s.videoLeft = 10;
  s.videoTop = 20;
  s.loopBackgroundSound = false;
  s.timerWithTransition = true;
  s.timerTransitionDuration = 1500;
  s.timerTransitionNumber = 3;
  s.runFrameProcedure = true;
  s.frameProcedure = "MsgBox |hi|";
  for (int groups = 0; groups <= 9; ++groups) {
    s.groups = groups;
    const FrameFile f = parseFrameFile(frameFileBytes(s));
    EXPECT_EQ(f.groupsRead, groups);
    EXPECT_EQ(f.stopEverySound, groups >= 1) << groups;
    EXPECT_EQ(f.secondSound, groups >= 1 ? "bell.wav" : "") << groups;
    EXPECT_EQ(f.videoLeft, groups >= 2 ? 10 : 0) << groups;
    EXPECT_EQ(f.loopBackgroundSound, groups < 3) << groups;
    EXPECT_EQ(f.timerTransitionDuration, groups >= 4 ? 1500 : 0) << groups;
    EXPECT_EQ(f.timerTransitionNumber, groups >= 5 ? 3 : 0) << groups;
    EXPECT_EQ(f.frameProcedure, groups >= 6 ? "MsgBox \"hi\"" : "") << groups;
  }
}

TEST(FrameFile, SoundRecordsWithFewerFieldsFillTheFirstSlots) {
  FrameSpec s;
  s.soundFadeMs = 2500;
  s.soundFieldsPerRecord = 3;
  s.sounds = {{2, true, false, 0, ""}, {3, false, true, 0, ""}};
  s.playVideoBefore = true;
  s.pluginActions = QString("a") + QChar(164) + "b";
  const FrameFile f = parseFrameFile(frameFileBytes(s));
  ASSERT_EQ(f.soundRecords.size(), 2u);
  EXPECT_EQ(f.soundRecords[0].action, 2);
  EXPECT_TRUE(f.soundRecords[0].fade);
  EXPECT_TRUE(f.soundRecords[1].loop);
  EXPECT_TRUE(f.soundRecords[1].file.isEmpty());
  EXPECT_DOUBLE_EQ(f.soundFadeMs, 2500);
  EXPECT_TRUE(f.playVideoBefore);
  EXPECT_EQ(f.pluginActions, QString("a") + QChar(164) + "b");
}

TEST(FrameFile, FullSoundRecordsKeepVolumeAndFile) {
  FrameSpec s;
  s.sounds = {{2, false, true, 7.5, "rain.wav"}};
  const FrameFile f = parseFrameFile(frameFileBytes(s));
  ASSERT_EQ(f.soundRecords.size(), 1u);
  EXPECT_DOUBLE_EQ(f.soundRecords[0].volume, 7.5);
  EXPECT_EQ(f.soundRecords[0].file, "rain.wav");
}

TEST(FrameFile, TimerDurationThatIsNotANumberReadsAsZero) {
  FrameSpec s;
  s.timerOn = true;
  s.timerSeconds = "soon";
  const FrameFile f = parseFrameFile(frameFileBytes(s));
  EXPECT_TRUE(f.timerOn);
  EXPECT_EQ(f.timerSeconds, 0);
}

TEST(FrameFile, MalformedFilesThrowAVbError) {
  EXPECT_THROW(parseFrameFile("\"not a number\",\"x\""), qm::VbError);
  EXPECT_THROW(parseFrameFile(""), qm::VbError);
  FrameSpec s;
  s.soundFieldsPerRecord = 9;
  s.sounds = {{1, false, false, 0, ""}};
  EXPECT_THROW(parseFrameFile(frameFileBytes(s)), qm::VbError);
}

TEST(FrameFile, FileCutInsideAGroupThrows) {
  FrameSpec s;
  QByteArray bytes = frameFileBytes(s);
  // Cut in the middle of the video group.
  const int cut = bytes.indexOf("#FALSE#,#FALSE#,0,0");
  ASSERT_GT(cut, 0);
  EXPECT_THROW(parseFrameFile(bytes.left(cut + 16)), qm::VbError);
}

// A record of no fields holds nothing to read: the sound block ends there,
// however many records it declares, and the groups after it are read as written.
TEST(FrameFile, SoundRecordsOfNoFieldsEndTheBlock) {
  FrameSpec s;
  s.soundFieldsPerRecord = 0;
  s.sounds.resize(32767);
  s.playVideoBefore = true;
  s.pluginActions = "plug";
  const QByteArray bytes = frameFileBytes(s);
  const FrameFile f = parseFrameFile(bytes);
  EXPECT_TRUE(f.soundRecords.empty());
  EXPECT_LE(f.soundRecords.size(), static_cast<std::size_t>(bytes.size()));  // the fuzz target's rule
  EXPECT_TRUE(f.playVideoBefore);
  EXPECT_EQ(f.pluginActions, "plug");
  EXPECT_EQ(f.groupsRead, 9);
}
