#include "engine/LegacySoundBlock.h"

#include <gtest/gtest.h>

#include "logic/FrameDataFiles.h"
#include "startup/RecordReader.h"
#include "startup/RecordWriter.h"
#include "support/ActionRecords.h"

using namespace qm::engine;
using qm::logic::seekLegacySoundRecord;
using qm::testing::LegacyChannelSpec;
using qm::testing::writeLegacySoundRecord;

TEST(LegacySoundBlock, ShortBlockEndsAtTheSeparator) {
  qm::startup::RecordWriter w;
  writeLegacySoundRecord(w, 3, {{true, false, "", false}, {false, true, "rain.wav", true}});
  writeLegacySoundRecord(w, 4, {{false, true, "bell.wav", false}});
  qm::startup::RecordReader reader(w.bytes());
  ASSERT_TRUE(seekLegacySoundRecord(reader, 3));
  const auto block = readLegacySoundBlock(reader);
  EXPECT_FALSE(block.error);
  ASSERT_EQ(block.entries.size(), 2u);
  EXPECT_TRUE(block.entries[0].stop);
  EXPECT_TRUE(block.entries[1].play);
  EXPECT_EQ(block.entries[1].soundFile, "rain.wav");
  EXPECT_TRUE(block.entries[1].loop);
}

TEST(LegacySoundBlock, FiveEntriesAtMostAndEndOfFileIsFine) {
  std::vector<LegacyChannelSpec> seven(7, LegacyChannelSpec{false, true, "x.wav", false});
  qm::startup::RecordWriter w;
  writeLegacySoundRecord(w, 1, seven);
  qm::startup::RecordReader reader(w.bytes());
  ASSERT_TRUE(seekLegacySoundRecord(reader, 1));
  EXPECT_EQ(readLegacySoundBlock(reader).entries.size(), 5u);

  QByteArray cut = w.bytes();
  cut.truncate(cut.indexOf("\"x.wav\"") + 14);  // ends right after the first entry
  qm::startup::RecordReader shortReader(cut);
  ASSERT_TRUE(seekLegacySoundRecord(shortReader, 1));
  const auto block = readLegacySoundBlock(shortReader);
  EXPECT_FALSE(block.error);
  EXPECT_EQ(block.entries.size(), 1u);
}

TEST(LegacySoundBlock, BrokenEntryKeepsTheOnesBefore) {
  qm::startup::RecordWriter w;
  writeLegacySoundRecord(w, 1, {{false, true, "a.wav", false}, {false, true, "b.wav", false}});
  QByteArray bytes = w.bytes();
  bytes.replace(bytes.lastIndexOf("#TRUE#"), 6, "\"yes\"");
  qm::startup::RecordReader reader(bytes);
  ASSERT_TRUE(seekLegacySoundRecord(reader, 1));
  const auto block = readLegacySoundBlock(reader);
  ASSERT_TRUE(block.error);
  ASSERT_EQ(block.entries.size(), 1u);
  EXPECT_EQ(block.entries[0].soundFile, "a.wav");
}
