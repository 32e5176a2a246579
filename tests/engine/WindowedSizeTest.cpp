// The sizes of a game played in a window: the whole-number scale it opens at,
// the interface scale of a window the player resized, the picture's scale in
// it, and the kept size's text.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/WindowedSize.h"

namespace qm::engine {
namespace {

// A bar 20 pixels high at scale 1 that grows in proportion, rounded up.
int proportionalBar(double scale) { return static_cast<int>(std::ceil(20 * scale)); }
int noBar(double) { return 0; }

struct FitCase {
  QSize picture, room;
  int (*bar)(double);
  int scale;
  const char* why;
};

TEST(WindowedSizeTest, TheLargestWholeScaleThatFitsWithTheBar) {
  const FitCase cases[] = {
      {{640, 480}, {1920, 1040}, proportionalBar, 2, "1280 x 1000 fits; 1920 x 1500 does not"},
      {{640, 480}, {1920, 1000}, proportionalBar, 2, "1280 x 960 and the 40-pixel bar fill the height exactly"},
      {{640, 480}, {1920, 999}, proportionalBar, 1, "1280 x 960 fits, but not with the 40-pixel bar above it"},
      {{640, 480}, {1920, 999}, noBar, 2, "without a bar the same room holds twice the picture"},
      {{640, 480}, {1280, 1000}, proportionalBar, 2, "exactly as wide as two pictures"},
      {{640, 480}, {1279, 2000}, proportionalBar, 1, "one pixel short of two pictures across"},
      {{640, 480}, {600, 400}, proportionalBar, 1, "a room smaller than the picture still gives 1"},
      {{1, 1}, {5000, 5000}, noBar, 16, "a dot is not blown up beyond 16"},
      {{0, 0}, {100, 100}, noBar, 16, "an empty picture counts as one pixel"},
      {{320, 200}, {800, 568}, proportionalBar, 2, "the offscreen screen's work area"},
  };
  for (const auto& c : cases) EXPECT_EQ(LargestWholeScale(c.picture, c.room, c.bar), c.scale) << c.why;
}

TEST(WindowedSizeTest, TheWindowAtAScaleHoldsThePictureAndTheBar) {
  EXPECT_EQ(WindowAtScale({640, 480}, 2, proportionalBar), QSize(1280, 1000));
  EXPECT_EQ(WindowAtScale({640, 480}, 1, noBar), QSize(640, 480));
}

TEST(WindowedSizeTest, AWindowMadeAtAWholeScaleKeepsThatInterfaceScale) {
  // 2 x (480 + 20) = 1000: exactly 2.
  EXPECT_EQ(InterfaceScaleInWindow({640, 480}, {1280, 1000}, 20), 2.0);
  // The bar's font came out two pixels shorter than twice its height at 1.
  EXPECT_EQ(InterfaceScaleInWindow({640, 480}, {1280, 998}, 20), 2.0);
  // Half-way between whole scales the interface follows the window.
  EXPECT_DOUBLE_EQ(InterfaceScaleInWindow({640, 480}, {960, 750}, 20), 1.5);
  // Never below the interface's own size.
  EXPECT_EQ(InterfaceScaleInWindow({640, 480}, {320, 250}, 20), 1.0);
}

TEST(WindowedSizeTest, ThePictureFillsTheRoomWithItsAspectKept) {
  EXPECT_DOUBLE_EQ(PictureScaleIn({200, 100}, {500, 400}), 2.5);   // the width decides
  EXPECT_DOUBLE_EQ(PictureScaleIn({200, 100}, {900, 150}), 1.5);   // the height decides
  EXPECT_DOUBLE_EQ(PictureScaleIn({200, 100}, {100, 50}), 0.5);    // smaller than its own size
  EXPECT_GT(PictureScaleIn({200, 100}, {0, 0}), 0.0);              // never nothing
}

TEST(WindowedSizeTest, TheKeptSizeReadsBackAndOddTextIsIgnored) {
  EXPECT_EQ(ParseWindowSize(WindowSizeText({1280, 1000})), QSize(1280, 1000));
  EXPECT_EQ(ParseWindowSize(" 800 X 600 "), QSize(800, 600));
  for (const char* odd : {"", "800", "800x", "x600", "0x600", "800x0", "-800x600", "800x600x2", "abc", "123456x2"})
    EXPECT_EQ(ParseWindowSize(odd), std::nullopt) << odd;
}

}  // namespace
}  // namespace qm::engine
