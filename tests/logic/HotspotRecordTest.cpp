#include "logic/HotspotRecord.h"

#include <gtest/gtest.h>

#include "startup/RecordReader.h"
#include "startup/RecordWriter.h"
#include "support/HotspotRecords.h"

using qm::logic::hotspotControlRect;
using qm::logic::readHotspotFile;
using qm::testing::hotspotFileBytes;
using qm::testing::HotspotSpec;

TEST(HotspotFile, EveryFieldOfAFullRecord) {
  HotspotSpec s;
  s.x = 300; s.y = 450; s.w = 900; s.h = 600;
  s.pictureKind = 1; s.hasPicture = true; s.pictureFile = "bird.gif"; s.stretch = 1; s.cursor = "hand.cur";
  s.useConditions = 1; s.mustBeFalse = {"a", "b"}; s.mustBeTrue = {"c"};
  s.animationSpeed = "12.5";
  s.hasVideo = true; s.videoFile = "clip.avi"; s.videoSize = 1; s.videoVolume = 7; s.videoRate = 0; s.videoPlayCount = 3;
  const auto contents = readHotspotFile(hotspotFileBytes({s}));
  ASSERT_FALSE(contents.error);
  ASSERT_EQ(contents.records.size(), 1u);
  const auto& r = contents.records[0];
  EXPECT_EQ(r.x, 300); EXPECT_EQ(r.y, 450); EXPECT_EQ(r.w, 900); EXPECT_EQ(r.h, 600);
  EXPECT_TRUE(r.isAnimated());
  EXPECT_EQ(r.pictureFile, "bird.gif");
  EXPECT_EQ(r.stretch, 1);
  EXPECT_TRUE(r.hasCustomCursor());
  EXPECT_EQ(r.mustBeFalse, (QStringList{"a", "b"}));
  EXPECT_EQ(r.mustBeTrue, (QStringList{"c"}));
  EXPECT_TRUE(r.hasSpeedBlock);
  EXPECT_EQ(r.animationSpeedValue(), 12);  // halves to even
  EXPECT_TRUE(r.hasVideoBlock);
  EXPECT_TRUE(r.hasVideo);
  EXPECT_EQ(r.videoFile, "clip.avi");
  EXPECT_EQ(r.videoSize, 1);
  EXPECT_EQ(r.videoVolume, 7);
  EXPECT_EQ(r.videoRate, 0);
  EXPECT_EQ(r.videoPlayCount, 3);
}

TEST(HotspotFile, OptionalBlocksMayBeMissingRecordByRecord) {
  HotspotSpec old;
  old.optionalBlocks = 0;
  old.mustBeTrue = {"x"};
  HotspotSpec speedOnly;
  speedOnly.optionalBlocks = 1;
  speedOnly.animationSpeed = "4";
  HotspotSpec full;
  full.hasVideo = true;
  full.videoFile = "v.avi";
  const auto contents = readHotspotFile(hotspotFileBytes({old, speedOnly, full, old}));
  ASSERT_FALSE(contents.error);
  ASSERT_EQ(contents.records.size(), 4u);
  EXPECT_FALSE(contents.records[0].hasSpeedBlock);
  EXPECT_EQ(contents.records[0].animationSpeedValue(), 0);
  EXPECT_FALSE(contents.records[0].hasVideo);
  EXPECT_EQ(contents.records[0].mustBeTrue, (QStringList{"x"}));
  EXPECT_TRUE(contents.records[1].hasSpeedBlock);
  EXPECT_FALSE(contents.records[1].hasVideoBlock);
  EXPECT_EQ(contents.records[1].animationSpeedValue(), 4);
  EXPECT_TRUE(contents.records[2].hasVideo);
  EXPECT_EQ(contents.records[2].videoFile, "v.avi");
  EXPECT_FALSE(contents.records[3].hasSpeedBlock);
}

TEST(HotspotFile, MergedIndexIsTheFirstMarkedRecordAfterTheFirst) {
  auto withMarks = [](std::vector<int> marks) {
    std::vector<HotspotSpec> specs;
    for (int m : marks) {
      HotspotSpec s;
      s.mergedMark = m;
      specs.push_back(s);
    }
    return readHotspotFile(hotspotFileBytes(specs)).mergedHotspotIndex;
  };
  EXPECT_EQ(withMarks({0, 0, 1, 1}), 3);
  EXPECT_EQ(withMarks({1, 0, 1}), 3);
  EXPECT_EQ(withMarks({0, 0, 0}), 1);
  EXPECT_EQ(withMarks({1}), 1);
  EXPECT_EQ(withMarks({0, 2, 1}), 3);
}

TEST(HotspotFile, ControlRectangleIsShrunkBy30TwipsAndAtLeastOne) {
  qm::logic::HotspotRecord r;
  r.x = 1500; r.y = 3000; r.w = 600; r.h = 450;
  auto rect = hotspotControlRect(r);
  EXPECT_EQ(rect.left, 1530);
  EXPECT_EQ(rect.top, 3030);
  EXPECT_EQ(rect.width, 540);
  EXPECT_EQ(rect.height, 390);
  r.w = 50; r.h = 61;
  rect = hotspotControlRect(r);
  EXPECT_EQ(rect.width, 1);
  EXPECT_EQ(rect.height, 1);
}

TEST(HotspotFile, CursorDefaultInAnyCaseOrEmptyIsNotCustom) {
  qm::logic::HotspotRecord r;
  for (const char* c : {"", "default", "DEFAULT", "Default"}) {
    r.cursor = c;
    EXPECT_FALSE(r.hasCustomCursor()) << c;
  }
  r.cursor = "hand.cur";
  EXPECT_TRUE(r.hasCustomCursor());
}

TEST(HotspotFile, LastRecordWithoutSeparatorStillLoads) {
  QByteArray bytes = hotspotFileBytes({HotspotSpec{}, HotspotSpec{}});
  bytes.chop(QByteArray("\"----- SEPARATOR -----\"\r\n").size());
  const auto contents = readHotspotFile(bytes);
  EXPECT_FALSE(contents.error);
  EXPECT_EQ(contents.records.size(), 2u);
}

TEST(HotspotFile, ExtraTrailingFieldsArePassedOver) {
  qm::startup::RecordWriter w;
  HotspotSpec s;
  s.optionalBlocks = 2;
  // A record with two unknown fields before its separator, then a normal one.
  QByteArray one = hotspotFileBytes({s});
  one.chop(QByteArray("\"----- SEPARATOR -----\"\r\n").size());
  one += "1,2,\"----- SEPARATOR -----\"\r\n";
  s.x = 42;
  one += hotspotFileBytes({s});
  const auto contents = readHotspotFile(one);
  ASSERT_FALSE(contents.error);
  ASSERT_EQ(contents.records.size(), 2u);
  EXPECT_EQ(contents.records[1].x, 42);
}

TEST(HotspotFile, TruncatedRecordIsAnError) {
  QByteArray bytes = hotspotFileBytes({HotspotSpec{}});
  bytes.truncate(bytes.indexOf("\"default\""));
  const auto contents = readHotspotFile(bytes);
  ASSERT_TRUE(contents.error);
  EXPECT_EQ(contents.error->number, 62);
  EXPECT_TRUE(contents.records.empty());
}
