// The log of what could be read on each painted picture: a text counts for the
// pictures it was on, however the texts around it come and go.
#include <gtest/gtest.h>

#include "engine/PaintedTextLog.h"

namespace qm::testing {
namespace {

using engine::PaintedTextLog;

TEST(PaintedTextLogTest, ATextCountsOnlyForThePicturesItWasOn) {
  PaintedTextLog log;
  log.notePicture({"Title"});                  // 1
  log.notePicture({"Title", "Click."});        // 2
  log.notePicture({"Title", "Click."});        // 3
  log.notePicture({"Title"});                  // 4
  log.notePicture({"Click.", "Title"});        // 5
  EXPECT_EQ(log.pictures(), 5);
  EXPECT_FALSE(log.readableBetween("Click.", 0, 1));
  EXPECT_TRUE(log.readableBetween("Click.", 1, 2));
  EXPECT_TRUE(log.readableBetween("Click.", 2, 4));
  EXPECT_FALSE(log.readableBetween("Click.", 3, 4));
  EXPECT_TRUE(log.readableBetween("Click.", 4, 5));
  EXPECT_TRUE(log.readableBetween("Title", 3, 4));
  EXPECT_FALSE(log.readableBetween("Tit", 0, 5)) << "whole texts, not parts";
  // A text on screen for a long time is one span, not one per picture.
  for (int i = 0; i < 100; ++i) log.notePicture({"Title"});
  EXPECT_EQ(log.spanCount(), 3u);
}

TEST(PaintedTextLogTest, NoPictureInTheWindowMeansNothingWasRead) {
  PaintedTextLog log;
  log.notePicture({"Seen"});
  EXPECT_FALSE(log.readableBetween("Seen", 1, 1));
  EXPECT_FALSE(log.readableBetween("Seen", 1, 3));
}

TEST(PaintedTextLogTest, ALongGameKeepsTheRecentSpansAndATextStillOnScreenGoesOn) {
  PaintedTextLog log;
  log.notePicture({"Always"});
  // Many short messages push the oldest spans out, the open one among them.
  for (std::size_t i = 0; i < PaintedTextLog::kMaxSpans + 10; ++i)
    log.notePicture({"Always", QString::number(i)});
  EXPECT_LE(log.spanCount(), PaintedTextLog::kMaxSpans);
  const qint64 now = log.pictures();
  log.notePicture({"Always"});
  EXPECT_TRUE(log.readableBetween("Always", now, now + 1));
  EXPECT_TRUE(log.readableBetween(QString::number(PaintedTextLog::kMaxSpans + 9), now - 1, now));
  EXPECT_FALSE(log.readableBetween("0", 0, now + 1)) << "the oldest spans are gone";
}

}  // namespace
}  // namespace qm::testing
