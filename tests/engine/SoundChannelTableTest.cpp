// The sound channels' pending records: frames fill free channels only,
// hotspot actions always win.
#include <gtest/gtest.h>

#include "engine/SoundChannelTable.h"

using qm::engine::FrameSoundRecord;
using qm::engine::SoundChannelTable;

TEST(SoundChannelTable, FrameRecordTakesAFreeChannel) {
  SoundChannelTable t;
  EXPECT_EQ(t.channel(3).player, 3);
  const bool fades = t.applyFrameRecords({{2, false, true, 6, "rain.wav"}, {0, true, false, 0, ""}});
  EXPECT_FALSE(fades);  // the fading record did not apply: no action, no file
  EXPECT_EQ(t.channel(1).action, 2);
  EXPECT_TRUE(t.channel(1).loop);
  EXPECT_EQ(t.channel(1).targetVolume, 6);
  EXPECT_EQ(t.channel(1).soundFile, "rain.wav");
  EXPECT_TRUE(t.channel(1).keepIfPlaying);
  EXPECT_EQ(t.channel(2).action, 0);
}

TEST(SoundChannelTable, HotspotRecordWinsOverTheNextFrame) {
  SoundChannelTable t;
  t.storeHotspotRecord(1, {3, true, false, 0, ""});
  EXPECT_FALSE(t.channel(1).keepIfPlaying);
  t.applyFrameRecords({{2, false, false, 10, "theme.mid"}});
  // The stop asked for by the hotspot stays; the frame's file fills the empty file slot.
  EXPECT_EQ(t.channel(1).action, 2);
  t.clearPending();
  t.storeHotspotRecord(1, {3, true, false, 0, "x.wav"});
  t.applyFrameRecords({{2, false, false, 10, "theme.mid"}});
  EXPECT_EQ(t.channel(1).action, 3);
  EXPECT_EQ(t.channel(1).soundFile, "x.wav");
}

TEST(SoundChannelTable, VolumesCarryOverAndFadesAreReported) {
  SoundChannelTable t;
  t.applyFrameRecords({{2, false, false, 8, "a.wav"}});
  t.clearPending();
  EXPECT_EQ(t.channel(1).targetVolume, 8);
  EXPECT_TRUE(t.applyFrameRecords({{4, true, false, 3, ""}}));
  EXPECT_EQ(t.channel(1).startVolume, 8);
  EXPECT_EQ(t.channel(1).targetVolume, 3);
}

TEST(SoundChannelTable, RecordsPastTheSeventhAreIgnored) {
  SoundChannelTable t;
  std::vector<FrameSoundRecord> records(9, FrameSoundRecord{2, false, false, 5, "s.wav"});
  t.applyFrameRecords(records);
  for (int n = 1; n <= 7; ++n) EXPECT_EQ(t.channel(n).action, 2);
  t.reset();
  EXPECT_EQ(t.channel(7).action, 0);
  EXPECT_EQ(t.channel(7).player, 7);
}
