#include "logic/ActionRecord.h"

#include <gtest/gtest.h>

#include "logic/FrameDataFiles.h"
#include "platform/VbError.h"
#include "startup/RecordReader.h"
#include "support/ActionRecords.h"

using namespace qm::logic;
using qm::testing::actionFileBytes;
using qm::testing::ActionSpec;
using qm::testing::ChannelSpec;

namespace {

// Notes every effect in the order the reader reports it.
struct EffectLog : ActionEffects {
  QStringList log;
  void changeVariable(const QString& name, int16_t value) override { log << QString("%1=%2").arg(name).arg(value); }
  void disappear() override { log << "disappear"; }
  void stopMusic() override { log << "stopMusic"; }
  void stopSampledAudio() override { log << "stopSampled"; }
  void setFadeDuration(double seconds) override { log << QString("fade %1").arg(seconds); }
  void storeChannelRecord(int channel, const SoundChannelRecord& r) override {
    log << QString("channel %1 %2 %3").arg(channel).arg(r.action).arg(r.soundFile);
  }
};

ActionRecord readFirst(const ActionSpec& spec, EffectLog* log = nullptr) {
  qm::startup::RecordReader reader(actionFileBytes({spec}));
  EXPECT_TRUE(seekClickAction(reader, 1));
  ActionRecord record;
  readActionFields(reader, record, log);
  return record;
}

ActionSpec everything() {
  ActionSpec s;
  s.variableChangeOn = 1; s.variableName = "door"; s.setToZero = true; s.setToOne = true; s.invert = true;
  s.showMessage = true; s.messageText = "Hello";
  s.disappear = true; s.goToFrame = 1; s.frameName = "Cellar";
  s.stopMusic = 1; s.stopSampledAudio = 1; s.playVideo = 1; s.videoFile = "v.avi"; s.videoAtPosition = true;
  s.videoLeft = 10; s.videoTop = 20; s.videoWidth = 30; s.videoHeight = 40;
  s.stopSound = true; s.playMusic = true; s.musicFile = "m.mid"; s.playSound = true; s.soundFile = "s.wav";
  s.goToLastVisitedFrame = true; s.messageInFrame = true;
  s.variableListsOn = 1; s.listZero = {"a"}; s.listOne = {"b", ""}; s.listInvert = {"c"};
  s.musicRepeats = false; s.useTransition = 1; s.transitionDurationMs = 1500;
  s.runScript = true; s.script = "MsgBox |hi|";
  s.transitionNumber = 3;
  s.fadeDurationMs = 2500; s.channels = {ChannelSpec{2, true, true, 7, "rain.wav"}, ChannelSpec{3, false, false, 0, ""}};
  s.giveItem = true; s.itemName = "Key";
  s.pluginData = QString("say ") + QChar(254) + "x" + QChar(254);
  return s;
}

}  // namespace

TEST(ActionRecordReading, EveryBlockInFileOrder) {
  const auto r = readFirst(everything());
  EXPECT_EQ(r.blocksPresent, 12);
  EXPECT_EQ(r.variableName, "door");
  EXPECT_EQ(r.messageText, "Hello");
  EXPECT_EQ(r.frameName, "Cellar");
  EXPECT_EQ(r.videoFile, "v.avi");
  EXPECT_TRUE(r.videoOwnSizeAtPosition);
  EXPECT_EQ(r.videoHeight, 40);
  EXPECT_EQ(r.musicFile, "m.mid");
  EXPECT_EQ(r.soundFile, "s.wav");
  EXPECT_TRUE(r.goToLastVisitedFrame);
  EXPECT_TRUE(r.messageInFrame);
  EXPECT_EQ(r.listSetToOne, (QStringList{"b", ""}));
  EXPECT_FALSE(r.musicRepeats);
  EXPECT_TRUE(r.hasTransition());
  EXPECT_EQ(r.transitionDurationMs, 1500);
  EXPECT_EQ(r.scriptText, "MsgBox \"hi\"");
  EXPECT_EQ(r.transitionNumber, 3);
  EXPECT_EQ(r.fadeDurationMs, 2500);
  ASSERT_EQ(r.channelRecords.size(), 2u);
  EXPECT_EQ(r.channelRecords[0].soundFile, "rain.wav");
  EXPECT_TRUE(r.channelRecords[0].loop);
  EXPECT_EQ(r.channelRecords[0].volume, 7);
  EXPECT_EQ(r.itemName, "Key");
  EXPECT_EQ(r.pluginData, "say \"\"x\"\"");
}

TEST(ActionRecordReading, EffectsAreReportedAsTheFieldsAreRead) {
  EffectLog log;
  readFirst(everything(), &log);
  EXPECT_EQ(log.log, (QStringList{"door=0", "door=1", "door=-1", "disappear", "stopMusic", "stopSampled", "a=0",
                                  "b=1", "c=-1", "fade 2.5", "channel 1 2 rain.wav", "channel 2 3 "}));
}

TEST(ActionRecordReading, VariableChangeNeedsTheSwitchAndAName) {
  auto s = everything();
  s.variableChangeOn = 0;
  s.variableListsOn = 0;
  EffectLog log;
  readFirst(s, &log);
  EXPECT_FALSE(log.log.contains("door=0"));
  EXPECT_FALSE(log.log.contains("a=0"));
  s.variableChangeOn = 1;
  s.variableName = "";
  log.log.clear();
  readFirst(s, &log);
  EXPECT_EQ(log.log.first(), "disappear");
}

TEST(ActionRecordReading, EndGameStopsReadingRightThere) {
  auto s = everything();
  s.endGame = true;
  EffectLog log;
  const auto r = readFirst(s, &log);
  EXPECT_TRUE(r.endGame);
  EXPECT_EQ(log.log, (QStringList{"door=0", "door=1", "door=-1", "disappear"}));
  EXPECT_TRUE(r.frameName.isEmpty());
}

TEST(ActionRecordReading, MissingBlocksKeepTheirDefaults) {
  for (int blocks = 0; blocks <= 12; ++blocks) {
    auto s = everything();
    s.blocks = blocks;
    const auto r = readFirst(s);
    EXPECT_EQ(r.blocksPresent, blocks);
    EXPECT_EQ(r.musicRepeats, blocks < 6) << blocks;
    EXPECT_EQ(r.hasTransition(), blocks >= 7) << blocks;
    EXPECT_EQ(r.runScript, blocks >= 8) << blocks;
    EXPECT_EQ(r.transitionNumber, blocks >= 9 ? 3 : 0) << blocks;
    EXPECT_EQ(r.giveItem, blocks >= 11) << blocks;
  }
}

TEST(ActionRecordReading, ChannelRecordsWithFewerFieldsFillTheFirstSlots) {
  auto s = everything();
  s.fieldsPerChannelRecord = 2;
  const auto r = readFirst(s);
  ASSERT_EQ(r.channelRecords.size(), 2u);
  EXPECT_EQ(r.channelRecords[0].action, 2);
  EXPECT_TRUE(r.channelRecords[0].fade);
  EXPECT_FALSE(r.channelRecords[0].loop);
  EXPECT_TRUE(r.channelRecords[0].soundFile.isEmpty());
  EXPECT_EQ(r.itemName, "Key");  // what follows is still in place
}

TEST(ActionRecordReading, ChannelRecordsOfUnknownShapeArePassedOver) {
  auto s = everything();
  s.fieldsPerChannelRecord = 6;
  EffectLog log;
  const auto r = readFirst(s, &log);
  EXPECT_TRUE(r.channelRecords.empty());
  EXPECT_EQ(r.itemName, "Key");
  EXPECT_EQ(r.blocksPresent, 12);
}

TEST(ActionRecordReading, ChannelAboveSevenIsAnErrorAfterTheFirstSeven) {
  auto s = everything();
  s.channels.assign(8, ChannelSpec{1, false, false, 5, ""});
  EffectLog log;
  qm::startup::RecordReader reader(actionFileBytes({s}));
  ASSERT_TRUE(seekClickAction(reader, 1));
  ActionRecord record;
  try {
    readActionFields(reader, record, &log);
    FAIL();
  } catch (const qm::VbError& e) {
    EXPECT_EQ(e.number, 9);
  }
  EXPECT_EQ(log.log.filter("channel").size(), 7);
}

TEST(ActionRecordReading, BrokenRecordHasDoneWhatCameBefore) {
  QByteArray bytes = actionFileBytes({everything()});
  bytes.replace(",#FALSE#,1,1500", ",\"notabool\",1,1500");  // field 41 unreadable
  qm::startup::RecordReader reader(bytes);
  ASSERT_TRUE(seekClickAction(reader, 1));
  ActionRecord record;
  EffectLog log;
  EXPECT_THROW(readActionFields(reader, record, &log), qm::VbError);
  EXPECT_TRUE(log.log.contains("b=1"));
  EXPECT_FALSE(log.log.contains("fade 2.5"));
}

TEST(ActionLookup, ClickRecordsByPositionDropRecordsByKey) {
  ActionSpec first, second;
  first.frameName = "One";
  second.frameName = "Two";
  {
    qm::startup::RecordReader reader(actionFileBytes({first, second}));
    ASSERT_TRUE(seekClickAction(reader, 2));
    ActionRecord r;
    readActionFields(reader, r, nullptr);
    EXPECT_EQ(r.frameName, "Two");
  }
  for (int outside : {3, 0, -1}) {
    qm::startup::RecordReader reader(actionFileBytes({first, second}));
    EXPECT_FALSE(seekClickAction(reader, outside)) << outside;
  }
  first.key = "2_Lamp.drg";
  second.key = "3_Golden Key.DRG";
  {
    qm::startup::RecordReader reader(actionFileBytes({first, second}));
    ASSERT_TRUE(seekDropAction(reader, dropActionKey(3, "golden key")));
    ActionRecord r;
    readActionFields(reader, r, nullptr);
    EXPECT_EQ(r.frameName, "Two");
  }
  {
    qm::startup::RecordReader reader(actionFileBytes({first, second}));
    EXPECT_FALSE(seekDropAction(reader, dropActionKey(2, "key")));
  }
  EXPECT_EQ(dropActionKey(12, "Rope"), "12_Rope.drg");
}

TEST(ActionLookup, LegacySoundRecordByHotspotNumber) {
  qm::startup::RecordWriter w;
  qm::testing::writeLegacySoundRecord(w, 4, {{false, true, "a.wav", false}});
  qm::testing::writeLegacySoundRecord(w, 2, {{true, false, "b.wav", true}});
  qm::startup::RecordReader reader(w.bytes());
  ASSERT_TRUE(seekLegacySoundRecord(reader, 2));
  reader.skip(22);
  reader.skip(1);
  EXPECT_TRUE(reader.readBool());
  qm::startup::RecordReader again(w.bytes());
  EXPECT_FALSE(seekLegacySoundRecord(again, 3));
}
